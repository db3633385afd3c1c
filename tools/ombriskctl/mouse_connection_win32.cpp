// ombriskctl.exe: the real mouse through the device link of the utility, without a window.
#include <windows.h>

#include "app/window_messages.h"
#include "device/device_link_win32.h"
#include "mouse_connection.h"
#include "util/dll_search_win32.h"
#include "util/module_win32.h"
#include "util/wide_win32.h"

namespace ombrisk::ctl {
namespace {

// Before main: the HID and timer DLLs are loaded at their first call, from the system
// folder only (the tool may run elevated from any folder).
const bool dllSearchLimited = (limitDllSearchToSystemFolder(), true);

// A console tool shows no message box: the search's messages become its one line on stderr.
class KeptMessages final : public MessageSink {
 public:
  explicit KeptMessages(std::string& kept) : kept_(kept) {}
  void show(const std::string& text, const std::string&) override {
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    if (kept_.empty()) kept_ = line;
  }

 private:
  std::string& kept_;
};

class HidMouseConnection final : public MouseConnection {
 public:
  explicit HidMouseConnection(std::unique_ptr<Win32DeviceLink> link) : link_(std::move(link)) {}
  ~HidMouseConnection() override { link_->close(); }
  CommandProtocol& protocol() override { return link_->protocol(); }
  std::string description() const override {
    return std::string("USB mouse") + (link_->protocol().scrambling() ? ", frames scrambled" : ", frames plain");
  }

 private:
  std::unique_ptr<Win32DeviceLink> link_;
};

}  // namespace

std::unique_ptr<MouseConnection> connectRealMouse(std::string& error) {
  static std::string searchMessage;
  searchMessage.clear();
  auto link = Win32DeviceLink::create(L"", DeviceNotifyMessage, error,
                                      std::make_unique<KeptMessages>(searchMessage));
  if (!link) {
    if (error.empty()) error = "the HID device link is not available";
    return nullptr;
  }
  if (!link->findDevice()) {
    error = link->lastSearch();
    if (!searchMessage.empty()) error += " (" + searchMessage + ")";
    link->close();
    return nullptr;
  }
  link->handshake();
  if (!link->linkReady()) {
    error = "the mouse did not answer the handshake";
    link->close();
    return nullptr;
  }
  return std::make_unique<HidMouseConnection>(std::move(link));
}

std::string executablePath() { return narrow(modulePath()); }

}  // namespace ombrisk::ctl
