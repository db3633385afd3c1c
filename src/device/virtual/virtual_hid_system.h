// The HID interfaces that vmouse presents, as a HidSystem. The event interface's reports
// come as a VirtualEventStream; the Win32 link turns them into overlapped-style reads.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/hid_system.h"
#include "device/virtual/virtual_mouse_client.h"

namespace ombrisk {

class VirtualHidSystem : public HidSystem {
 public:
  explicit VirtualHidSystem(VirtualEndpoint endpoint) : client_(std::move(endpoint)) {}

  bool beginEnumeration() override;
  NextInterface interfaceAt(unsigned index, std::string& path) override;
  void endEnumeration() override { snapshot_.clear(); }
  Probe probe(const std::string& path) override;
  bool openEventInterface(const std::string& path, const HidCaps& caps) override;
  void closeEventInterface() override;
  std::unique_ptr<CommandPort> openCommandInterface(const std::string& path,
                                                    const HidCaps& caps) override;

  const VirtualMouseClient& client() const { return client_; }
  // The open event interface, shared with whoever reads it; null when none is open.
  std::shared_ptr<VirtualEventStream> eventStream() const;

 protected:
  // Called with the new stream once the event interface is open (the Win32 link starts
  // reading it here and signals the read event).
  virtual void eventInterfaceOpened(const std::shared_ptr<VirtualEventStream>&) {}

 private:
  const vm::VirtualInterface* find(const std::string& path) const;

  VirtualMouseClient client_;
  std::vector<vm::VirtualInterface> snapshot_;
  mutable std::mutex eventMutex_;
  std::shared_ptr<VirtualEventStream> event_;
};

}  // namespace ombrisk
