#include "vmouse/mouse_state_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace ombrisk {
namespace {

constexpr std::string_view kStateFileHeader = "VMOUSE1\n";

// The fields of MouseSettings in state-file order.
template <typename Settings, typename Visit>
void forEachField(Settings& s, Visit visit) {
  visit(std::span(s.sensor));
  visit(std::span(&s.reportInterval, 1));
  visit(std::span(s.effect));
  for (auto& set : s.lightSets) visit(std::span(set));
  for (auto& block : s.featureBlocks) visit(std::span(block));
  visit(std::span(&s.stageCount, 1));
  visit(std::span(s.stageCodes));
  for (auto& matrix : s.keyMatrices) visit(std::span(matrix));
  for (auto& macro : s.macros) visit(std::span(macro));
}

}  // namespace

std::vector<std::uint8_t> encodeSettings(const MouseSettings& settings) {
  std::vector<std::uint8_t> bytes(kStateFileHeader.begin(), kStateFileHeader.end());
  forEachField(settings, [&](auto field) {
    for (std::uint8_t b : field) bytes.push_back(b);
  });
  return bytes;
}

std::optional<MouseSettings> decodeSettings(std::span<const std::uint8_t> bytes) {
  static const std::size_t kStateFileSize = encodeSettings(MouseSettings{}).size();
  MouseSettings settings;
  if (bytes.size() != kStateFileSize ||
      !std::equal(kStateFileHeader.begin(), kStateFileHeader.end(), bytes.begin()))
    return std::nullopt;
  std::size_t at = kStateFileHeader.size();
  forEachField(settings, [&](auto field) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), field.size(), field.begin());
    at += field.size();
  });
  return settings;
}

std::optional<std::vector<std::uint8_t>> readStateFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeStateFile(const std::string& path, const MouseSettings& settings) {
  const std::vector<std::uint8_t> bytes = encodeSettings(settings);
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return;
  }
  std::error_code ignored;
  std::filesystem::rename(temporary, path, ignored);
}

}  // namespace ombrisk
