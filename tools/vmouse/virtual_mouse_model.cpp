#include "vmouse/virtual_mouse_model.h"

#include <algorithm>
#include <cstdio>

#include "device/protocol_constants.h"

namespace ombrisk {
namespace {

// A fresh mouse, apart from its sensor type.
const MouseSettings kFactorySettings = [] {
  MouseSettings s;
  s.sensor = {0, 0x01, 0x00, 0x00};
  s.reportInterval = 1;  // 1000 reports per second
  s.effect = {1, 0, 0};
  s.lightSets = {{{0xFF, 0x00, 0x00}, {0x00, 0x00, 0xFF}}};
  s.stageCount = 4;
  s.stageCodes = {0x04, 0x08, 0x10, 0x20, 0x00, 0x00, 0x00, 0x00};
  return s;
}();

// Filler of the hostile mouse's over-long block answers.
constexpr std::uint8_t kHostileFill = 0xEE;
constexpr std::size_t kHostileLength = 255;
// Lengths of the well-behaved answers to block reads.
constexpr std::size_t kFeatureBlockBytes = 24;
constexpr std::size_t kMacroBytes = 128;

using Role = PresentedInterface::Role;

const PresentedInterface kKeyboard{
    {"\\\\?\\HID#VID_046D&PID_C31C&MI_00#7&1f0e2d3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
     0x046D, 0xC31C, 0x0001, 0x0006, 9, 2, 0},
    Role::Other, 0};

PresentedInterface eventInterface(bool commandFirst) {
  return {{vm::mouseInterfacePath(vm::MouseInterface::Event, commandFirst), kMouseVendorId,
           kMouseProductId, kEventUsagePage, kEventUsagePage,
           static_cast<std::uint16_t>(kEventReportLength), 0, 0},
          Role::Event, kEventReportId};
}

PresentedInterface commandInterface(bool commandFirst) {
  return {{vm::mouseInterfacePath(vm::MouseInterface::Command, commandFirst), kMouseVendorId,
           kMouseProductId, kCommandUsagePage, kCommandUsagePage,
           static_cast<std::uint16_t>(kBlockReportLength),
           static_cast<std::uint16_t>(kBlockReportLength),
           static_cast<std::uint16_t>(kFeatureReportLength)},
          Role::Command, 0};
}

std::string hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(2 * bytes.size(), '0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[2 * i] = kDigits[bytes[i] >> 4];
    text[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  return text;
}

std::string numbers(std::span<const std::uint8_t> bytes) {
  std::string text = "[";
  for (std::size_t i = 0; i < bytes.size(); ++i) text += (i ? "," : "") + std::to_string(bytes[i]);
  return text + "]";
}

bool isHandshake(const Frame& f) {
  return f[0] == cmd::kHandshake && std::equal(kHandshakeMagic.begin(), kHandshakeMagic.end(), f.begin() + 1) &&
         frameChecksum(f) == f[7];
}

template <std::size_t N>
void storeFirst(std::array<std::uint8_t, N>& target, std::span<const std::uint8_t> data,
                std::size_t length) {
  std::copy_n(data.begin(), std::min({length, N, data.size()}), target.begin());
}

}  // namespace

MouseSettings factorySettings(std::uint8_t sensorType) {
  MouseSettings s = kFactorySettings;
  s.sensor[0] = sensorType;
  return s;
}

const FaultModeInfo& faultModeInfo(FaultMode mode) {
  for (const FaultModeInfo& info : kFaultModes)
    if (info.mode == mode) return info;
  return kFaultModes[0];
}

std::vector<PresentedInterface> presentedInterfaces(bool plugged, bool commandFirst) {
  std::vector<PresentedInterface> interfaces{kKeyboard};
  if (!plugged) return interfaces;
  if (commandFirst) {
    interfaces.push_back(commandInterface(commandFirst));
    interfaces.push_back(eventInterface(commandFirst));
  } else {
    interfaces.push_back(eventInterface(commandFirst));
    interfaces.push_back(commandInterface(commandFirst));
  }
  return interfaces;
}

std::vector<std::uint8_t> reportDescriptor(const PresentedInterface& interface) {
  // Short items: a prefix byte (tag, type, size) and its data, little-endian.
  std::vector<std::uint8_t> d;
  const auto item = [&d](std::uint8_t prefix, std::initializer_list<std::uint8_t> data) {
    d.push_back(prefix);
    d.insert(d.end(), data);
  };
  const auto low = [](std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
  const auto high = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
  const vm::VirtualInterface& i = interface.info;
  item(0x06, {low(i.usagePage), high(i.usagePage)});  // Usage Page
  item(0x0A, {low(i.usage), high(i.usage)});          // Usage
  item(0xA1, {0x01});                                 // Collection (Application)
  if (interface.reportId) item(0x85, {interface.reportId});  // Report ID
  item(0x15, {0x00});                                 // Logical Minimum 0
  item(0x26, {0xFF, 0x00});                           // Logical Maximum 255
  item(0x75, {0x08});                                 // Report Size 8
  // Each report is its id byte (also when the reports carry none) and its data bytes.
  const std::pair<std::uint16_t, std::uint8_t> reports[] = {
      {i.inputLength, 0x81}, {i.outputLength, 0x91}, {i.featureLength, 0xB1}};
  std::uint8_t usage = 1;
  for (const auto& [length, mainItem] : reports) {
    if (length < 2) continue;
    item(0x96, {low(length - 1), high(length - 1)});  // Report Count
    item(0x09, {usage++});                            // Usage (vendor data)
    item(mainItem, {0x02});                           // Input / Output / Feature (Data, Var, Abs)
  }
  item(0xC0, {});  // End Collection
  return d;
}

std::string frameHex(const Frame& frame) { return hex(frame); }

VirtualMouseModel::VirtualMouseModel(const MouseSettings& settings, FaultMode fault)
    : settings_(settings), fault_(faultModeInfo(fault)) {}

void VirtualMouseModel::resetLink() {
  scrambled_ = false;
  answer_ = {};
  pending_.reset();
  input_.clear();
  late_.clear();
  lateAnswerDue_ = false;
  framesSinceHandshake_ = 0;
}

void VirtualMouseModel::logFrame(const Frame& frame) {
  if (log_.size() == kFrameLogLimit) log_.pop_front();
  log_.push_back(frame);
  ++frameCount_;
}

void VirtualMouseModel::receiveFeature(std::span<const std::uint8_t> report) {
  if (report.size() < 1 + 8) return;
  Frame wire{};
  std::copy_n(report.begin() + 1, wire.size(), wire.begin());
  Frame unscrambled = wire;
  unscrambleFrame(unscrambled, protocolScrambleKey());

  // A new frame ends whatever write was under way; what the mouse has already sent stays
  // in the host's input buffer.
  pending_.reset();
  answer_ = {};

  // Either handshake sets the mode of everything that follows.
  if (isHandshake(wire) || isHandshake(unscrambled)) {
    lateAnswerDue_ = fault_.lateFirstBlockRead;
    framesSinceHandshake_ = 0;
  } else if (framesSinceHandshake_ < 0xFFFF) {
    ++framesSinceHandshake_;
  }
  if (isHandshake(wire)) {
    logFrame(wire);
    scrambled_ = false;
    if (fault_.echoesPlainHandshake) answer_ = wire;
    return;
  }
  if (isHandshake(unscrambled)) {
    logFrame(unscrambled);
    scrambled_ = true;
    answer(unscrambled);
    return;
  }
  const Frame plain = scrambled_ ? unscrambled : wire;
  logFrame(plain);
  // Like the firmware, a frame whose checksum does not match is dropped unanswered.
  if (frameChecksum(plain) != plain[7]) return;
  handleFrame(plain);
}

std::uint8_t VirtualMouseModel::answeredIndex(std::uint8_t requested, bool valid) const {
  // The hostile mouse names a wrong index for odd requests (set 1, feature block 1, odd
  // macro numbers) and keeps the right one for the others, whose lengths it overstates.
  if (fault_.hostileAnswers && valid && requested % 2 == 1)
    return static_cast<std::uint8_t>(requested + 0x80);
  return requested;
}

void VirtualMouseModel::handleFrame(const Frame& f) {
  auto& s = settings_;
  const std::uint8_t index = f[1];
  switch (f[0]) {
    case cmd::kReportInterval:
      s.reportInterval = f[1];
      ++revision_;
      break;
    case cmd::kWriteSensor:
      std::copy_n(f.begin() + 1, 4, s.sensor.begin());
      ++revision_;
      break;
    case cmd::kReadSensor:
      answer({f[0], s.sensor[0], s.sensor[1], s.sensor[2], s.sensor[3], 0, 0, 0});
      return;
    case cmd::kWriteLightSet:
      if (index < s.lightSets.size()) {
        std::copy_n(f.begin() + 2, 3, s.lightSets[index].begin());
        ++revision_;
      }
      break;
    case cmd::kReadLightSet: {
      const bool valid = index < s.lightSets.size();
      const auto set = valid ? s.lightSets[index] : std::array<std::uint8_t, 3>{};
      answer({f[0], answeredIndex(index, valid), set[0], set[1], set[2], 0, 0, 0});
      return;
    }
    case cmd::kWriteEffect:
      std::copy_n(f.begin() + 1, 3, s.effect.begin());
      ++revision_;
      break;
    case cmd::kReadEffect:
      answer({f[0], s.effect[0], s.effect[1], s.effect[2], 0, 0, 0, 0});
      return;
    case cmd::kWriteFeatureBlock:
    case cmd::kWriteStageCodes:
    case cmd::kWriteKeyMatrix:
    case cmd::kWriteMacro:
      pending_ = PendingWrite{f[0], index, f[2], {}};
      if (f[2] == 0) finishWrite();
      break;
    case cmd::kReadFeatureBlock:
    case cmd::kReadMacro: {
      const bool feature = f[0] == cmd::kReadFeatureBlock;
      const bool valid = feature ? index < s.featureBlocks.size()
                                 : index >= 1 && index <= s.macros.size();
      std::vector<std::uint8_t> data;
      if (valid && feature) data.assign(s.featureBlocks[index].begin(), s.featureBlocks[index].end());
      if (valid && !feature) data.assign(s.macros[index - 1].begin(), s.macros[index - 1].end());
      std::size_t length = feature ? kFeatureBlockBytes : kMacroBytes;
      if (fault_.hostileAnswers) {
        length = kHostileLength;
        data.assign(length, kHostileFill);
      }
      answer({f[0], answeredIndex(index, valid), static_cast<std::uint8_t>(length), 0, 0, 0, 0, 0});
      if (fault_.answersBlockReads) queueBlocks(data, length);
      return;
    }
    default:
      break;
  }
  answer(f);  // writes and unknown commands: the frame itself
}

void VirtualMouseModel::answer(Frame frame) {
  frame[7] = frameChecksum(frame);
  if (scrambled_) scrambleFrame(frame, protocolScrambleKey());
  answer_ = frame;
}

std::vector<std::uint8_t> VirtualMouseModel::answerFeature(std::size_t length) const {
  std::vector<std::uint8_t> report(std::max<std::size_t>(length, 1 + 8), 0);
  std::copy(answer_.begin(), answer_.end(), report.begin() + 1);
  report.resize(length);
  return report;
}

void VirtualMouseModel::queueBlocks(std::span<const std::uint8_t> data, std::size_t announced) {
  std::vector<Block> blocks;
  for (std::size_t start = 0; start < announced; start += kBlockSize) {
    Block block{};
    if (start < data.size())
      std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(start),
                  std::min(kBlockSize, data.size() - start), block.begin());
    blocks.push_back(block);
  }
  if (lateAnswerDue_ && !blocks.empty()) {
    lateAnswerDue_ = false;
    late_ = std::move(blocks);
    return;
  }
  input_.insert(input_.end(), blocks.begin(), blocks.end());
}

void VirtualMouseModel::receiveOutput(std::span<const std::uint8_t> report) {
  if (!pending_ || report.empty()) return;
  const auto slice = report.subspan(1, std::min<std::size_t>(report.size() - 1, kBlockSize));
  pending_->data.insert(pending_->data.end(), slice.begin(), slice.end());
  pending_->data.resize(pending_->data.size() + (kBlockSize - slice.size()), 0);
  if (pending_->data.size() >= pending_->length) finishWrite();
}

void VirtualMouseModel::finishWrite() {
  const PendingWrite write = std::move(*pending_);
  pending_.reset();
  auto& s = settings_;
  const std::uint8_t i = write.index;
  switch (write.command) {
    case cmd::kWriteFeatureBlock:
      if (i >= s.featureBlocks.size()) return;
      storeFirst(s.featureBlocks[i], write.data, write.length);
      break;
    case cmd::kWriteStageCodes:
      s.stageCount = i;
      storeFirst(s.stageCodes, write.data, write.length);
      break;
    case cmd::kWriteKeyMatrix:
      if (i < 1 || i > s.keyMatrices.size()) return;
      storeFirst(s.keyMatrices[i - 1], write.data, write.length);
      break;
    case cmd::kWriteMacro:
      if (i < 1 || i > s.macros.size()) return;
      storeFirst(s.macros[i - 1], write.data, write.length);
      break;
    default:
      return;
  }
  ++revision_;
}

std::optional<std::vector<std::uint8_t>> VirtualMouseModel::takeInput(std::size_t length) {
  if (!late_.empty()) {
    // This wait passes empty; the late answer arrives just after it.
    input_.insert(input_.end(), late_.begin(), late_.end());
    late_.clear();
    return std::nullopt;
  }
  if (input_.empty()) return std::nullopt;
  std::vector<std::uint8_t> report(std::max<std::size_t>(length, 1 + kBlockSize), 0);
  std::copy(input_.front().begin(), input_.front().end(), report.begin() + 1);
  input_.pop_front();
  report.resize(length);
  return report;
}

std::vector<std::vector<std::uint8_t>> VirtualMouseModel::sendInput() {
  std::vector<std::vector<std::uint8_t>> reports;
  for (const Block& block : input_) {
    std::vector<std::uint8_t> report(1 + kBlockSize, 0);
    std::copy(block.begin(), block.end(), report.begin() + 1);
    reports.push_back(std::move(report));
  }
  input_.clear();
  return reports;
}

std::vector<std::vector<std::uint8_t>> VirtualMouseModel::lateInput() {
  input_.insert(input_.end(), late_.begin(), late_.end());
  late_.clear();
  return sendInput();
}

std::string VirtualMouseModel::dumpJson(bool plugged, unsigned long long commands) const {
  const auto& s = settings_;
  std::string json = "{\n";
  auto field = [&](std::string_view key, const std::string& value, bool last = false) {
    json += "  \"" + std::string(key) + "\": " + value + (last ? "\n" : ",\n");
  };
  auto list = [](const auto& items, auto format) {
    std::string text = "[";
    for (std::size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + format(items[i]);
    return text + "]";
  };
  auto quotedHex = [](const auto& bytes) { return "\"" + hex(bytes) + "\""; };
  field("plugged", plugged ? "true" : "false");
  field("scrambled", scrambled_ ? "true" : "false");
  field("sensor", numbers(s.sensor));
  field("report_interval", std::to_string(s.reportInterval));
  field("effect", numbers(s.effect));
  field("light_sets", list(s.lightSets, [](const auto& set) { return numbers(set); }));
  field("feature_blocks", list(s.featureBlocks, [](const auto& block) { return numbers(block); }));
  field("stage_count", std::to_string(s.stageCount));
  field("stage_codes", numbers(s.stageCodes));
  field("key_matrices", list(s.keyMatrices, quotedHex));
  field("macros", list(s.macros, quotedHex));
  field("commands", std::to_string(commands));
  field("frame_count", std::to_string(frameCount_));
  field("log", list(log_, quotedHex), true);
  return json + "}\n";
}

}  // namespace ombrisk
