// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/file_io.h"

namespace ombrisk::testing {

inline std::filesystem::path pathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("ombrisk-") + (info ? info->test_suite_name() : "test") + "-" +
                       (info ? info->name() : "case");
    for (char& c : name)
      if (c == '/' || c == '\\') c = '_';
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // A file path inside the folder, as UTF-8 text.
  std::string file(const std::string& name) const {
    return utf8FromPath(path_ / pathFromUtf8(name));
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Records the user messages instead of showing them.
struct RecordedMessage {
  std::string text, caption;
  bool operator==(const RecordedMessage&) const = default;
};

class RecordingSink final : public MessageSink {
 public:
  void show(const std::string& text, const std::string& caption) override {
    messages.push_back({text, caption});
  }
  std::vector<RecordedMessage> messages;
};

}  // namespace ombrisk::testing
