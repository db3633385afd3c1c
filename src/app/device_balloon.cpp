#include "app/device_balloon.h"

#include "device/device_events.h"
#include "device/sensor_table.h"

namespace ombrisk {
namespace {

constexpr unsigned kEventTimeoutMs = 5000;
constexpr unsigned kLinkTimeoutMs = 100;

std::optional<TextId> reportRateText(std::int64_t code) {
  switch (code) {
    case 1: return TextId::ReportRate1000;
    case 2: return TextId::ReportRate500;
    case 4: return TextId::ReportRate250;
    case 8: return TextId::ReportRate125;
    default: return std::nullopt;
  }
}

constexpr TextId kStageTexts[] = {TextId::DpiStage1, TextId::DpiStage2, TextId::DpiStage3,
                                  TextId::DpiStage4};

}  // namespace

std::optional<Balloon> deviceBalloon(const InterfaceTexts& texts, unsigned type,
                                     std::int64_t value, const SettingsImage& image) {
  const auto info = [](std::string text) { return Balloon{std::move(text), "Info", kEventTimeoutMs}; };
  switch (type) {
    case kEventReportRate:
      if (const auto id = reportRateText(value)) return info(texts[*id]);
      return std::nullopt;
    case kEventDpiStage: {
      if (value < 1 || value > 4) return std::nullopt;
      const std::size_t stage = static_cast<std::size_t>(value - 1);
      const std::uint8_t level = image.record[rec::kDpiLevel + stage];
      return info(texts[kStageTexts[stage]] +
                  std::string(dpiValueText(image.device.currentSensorType, level)));
    }
    case kEventKeyMatrix:
      if (value == 1) return info(texts[TextId::KeyMatrix1]);
      if (value == 2) return info(texts[TextId::KeyMatrix2]);
      return std::nullopt;
    case kEventMacro:
      if (value == 0) return std::nullopt;
      return info(texts[TextId::MacroSwitched] + std::to_string(value));
    case kEventLinkReady:
      return Balloon{texts[TextId::MouseDetected], "Info", kLinkTimeoutMs};
    case kEventNoMouse:
      return Balloon{texts[TextId::NoMouse], "Warning", kLinkTimeoutMs};
    default:
      return std::nullopt;
  }
}

}  // namespace ombrisk
