// config.bin as read at start: any bytes load as an image or are ignored.
#include <memory>

#include "settings/file_io.h"
#include "settings/settings_files.h"

namespace {

class OneFile final : public ombrisk::FileIo {
 public:
  OneFile(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}
  bool exists(const std::string&) override { return true; }
  ombrisk::FileContents read(const std::string&) override {
    ombrisk::FileContents contents;
    contents.status = ombrisk::FileContents::Status::Read;
    contents.bytes = bytes_;
    return contents;
  }
  bool replaceAtomically(const std::string&, const std::vector<std::uint8_t>&, int&) override { return true; }

 private:
  std::vector<std::uint8_t> bytes_;
};

class NoMessages final : public ombrisk::MessageSink {
 public:
  void show(const std::string&, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  OneFile io(data, size);
  NoMessages messages;
  const ombrisk::SettingsFileContext context{ombrisk::dataPathsFromModule("C:\\App\\Ombrisk.exe"), io, messages,
                                             "Ombrisk"};
  ombrisk::SettingsImage image;
  ombrisk::loadSettings(context, image);
  return 0;
}
