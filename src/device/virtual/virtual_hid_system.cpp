#include "device/virtual/virtual_hid_system.h"

#include "device/protocol_constants.h"

namespace ombrisk {

bool VirtualHidSystem::beginEnumeration() {
  std::string error;
  auto interfaces = client_.enumerate(error);
  if (!interfaces) return false;
  snapshot_ = std::move(*interfaces);
  return true;
}

NextInterface VirtualHidSystem::interfaceAt(unsigned index, std::string& path) {
  if (index >= snapshot_.size()) return NextInterface::NoMore;
  path = snapshot_[index].path;
  return NextInterface::Found;
}

const vm::VirtualInterface* VirtualHidSystem::find(const std::string& path) const {
  for (const auto& info : snapshot_)
    if (info.path == path) return &info;
  return nullptr;
}

Probe VirtualHidSystem::probe(const std::string& path) {
  const vm::VirtualInterface* info = find(path);
  if (!info) return {};
  if (info->vendorId != kMouseVendorId || info->productId != kMouseProductId)
    return {ProbeResult::OtherDevice, {}};
  return {ProbeResult::Mouse,
          {info->usagePage, info->usage, info->inputLength, info->outputLength, info->featureLength}};
}

bool VirtualHidSystem::openEventInterface(const std::string& path, const HidCaps&) {
  const vm::VirtualInterface* info = find(path);
  std::shared_ptr<VirtualEventStream> stream;
  if (info) stream = client_.openEventInterface(*info);
  if (!stream) return false;
  {
    std::lock_guard lock(eventMutex_);
    event_ = stream;
  }
  eventInterfaceOpened(stream);
  return true;
}

void VirtualHidSystem::closeEventInterface() {
  std::shared_ptr<VirtualEventStream> old;
  {
    std::lock_guard lock(eventMutex_);
    old.swap(event_);
  }
  if (old) old->cancel();
}

std::shared_ptr<VirtualEventStream> VirtualHidSystem::eventStream() const {
  std::lock_guard lock(eventMutex_);
  return event_;
}

std::unique_ptr<CommandPort> VirtualHidSystem::openCommandInterface(const std::string& path,
                                                                    const HidCaps&) {
  const vm::VirtualInterface* info = find(path);
  return info ? client_.openCommandInterface(*info) : nullptr;
}

}  // namespace ombrisk
