// What any local process may send the virtual mouse's server: interface lists, state files,
// and feature and output reports of any length in any order, in every fault mode, with the
// host's reads of any length in between.
#include "vmouse/mouse_state_file.h"
#include "vmouse/virtual_mouse_model.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ombrisk;
  vm::decodeInterfaces({data, size});
  decodeSettings({data, size});

  fuzz::FuzzInput input(data, size);
  const auto fault = static_cast<FaultMode>(input.byte() % 5);
  VirtualMouseModel mouse(factorySettings(input.byte() % 4), fault);
  while (!input.empty()) {
    const std::uint8_t operation = input.byte();
    const auto length = static_cast<std::size_t>(input.byte());
    switch (operation % 6) {
      case 0: mouse.receiveFeature(input.take(length % 12)); break;
      case 1: mouse.receiveOutput(input.take(length % 40)); break;
      case 2: mouse.answerFeature(length); break;
      case 3: mouse.takeInput(length); break;
      case 4: mouse.discardInput(); break;
      default: mouse.resetLink(); break;
    }
  }
  mouse.dumpJson(true, 0);
  return 0;
}
