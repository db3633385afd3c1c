#include "util/message_box_win32.h"

#include <windows.h>

#include "util/wide_win32.h"

namespace ombrisk {
namespace {

class MessageBoxSink final : public MessageSink {
 public:
  void show(const std::string& text, const std::string& caption) override {
    MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(caption).c_str(), MB_OK);
  }
};

}  // namespace

std::unique_ptr<MessageSink> makeMessageBoxSink() { return std::make_unique<MessageBoxSink>(); }

}  // namespace ombrisk
