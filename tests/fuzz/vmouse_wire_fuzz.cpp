// What any local process may send the virtual mouse's server: interface lists, state files,
// the byte stream of a connection cut into messages, and feature and output reports of any
// length in any order, in every fault mode, with the host's reads of any length in between.
#include "vmouse/mouse_state_file.h"
#include "vmouse/virtual_mouse_model.h"
#include "fuzz_input.h"

namespace {

using namespace ombrisk;

// A connection's bytes, cut into messages as the server cuts them; each request that reaches
// the mouse is applied as on a command interface. Ends where the server would end the
// connection: a broken or unknown message, or a request too short for its fields. The dump
// of the whole state is costly and changes nothing: only the input's first Dump makes one.
void serveStream(std::span<const std::uint8_t> stream, VirtualMouseModel& mouse, bool& dumped) {
  using vm::Message;
  while (const std::optional<vm::WireMessage> m = vm::takeMessage(stream)) {
    const auto& p = m->payload;
    switch (m->type) {
      case Message::SetFeature: mouse.receiveFeature(p); break;
      case Message::WriteOutput: mouse.receiveOutput(p); break;
      case Message::GetFeature:
        if (p.size() < 2) return;
        mouse.answerFeature(vm::getU16(p, 0));
        break;
      case Message::ReadInput:
        if (p.size() < 4) return;
        mouse.takeInput(vm::getU16(p, 0));
        break;
      case Message::FlushInput: mouse.discardInput(); break;
      case Message::Plug:
      case Message::Unplug: mouse.resetLink(); break;
      case Message::Dump:
        if (!dumped) mouse.dumpJson(true, 0);
        dumped = true;
        break;
      case Message::Enumerate:
      case Message::Open:
      case Message::Watch:
      case Message::Event: break;  // answered without the mouse
      default: return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vm::decodeInterfaces({data, size});
  decodeSettings({data, size});

  fuzz::FuzzInput input(data, size);
  const auto fault = static_cast<FaultMode>(input.byte() % 5);
  VirtualMouseModel mouse(factorySettings(input.byte() % 4), fault);
  bool dumped = false;
  while (!input.empty()) {
    const std::uint8_t operation = input.byte();
    const auto length = static_cast<std::size_t>(input.byte());
    switch (operation % 7) {
      case 0: mouse.receiveFeature(input.take(length % 12)); break;
      case 1: mouse.receiveOutput(input.take(length % 40)); break;
      case 2: mouse.answerFeature(length); break;
      case 3: mouse.takeInput(length); break;
      case 4: mouse.discardInput(); break;
      case 5: mouse.resetLink(); break;
      default: serveStream(input.take(length), mouse, dumped); break;
    }
  }
  return 0;
}
