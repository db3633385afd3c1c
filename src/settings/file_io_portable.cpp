#include <cerrno>
#include <cstdio>

#include "settings/file_io.h"

namespace ombrisk {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[4096];
  bool failed = false;
  while (true) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) {
      failed = std::ferror(file) != 0;  // a folder, for one, opens but cannot be read
      break;
    }
    if (bytes.size() > kLargestFileRead) break;  // of no use to us whole
  }
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

namespace {

class PortableFileIo final : public FileIo {
 public:
  bool exists(const std::string& path) override {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno != ENOENT;
    std::fclose(file);
    return true;
  }

  std::optional<std::vector<std::uint8_t>> readAll(const std::string& path) override {
    return readWholeFile(path);
  }

  bool replaceAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         int& errorCode) override {
    const std::string temporary = path + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
      errorCode = errno;
      return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    if (std::fclose(file) != 0 || !written) {
      errorCode = written ? errno : writeErrno;
      std::remove(temporary.c_str());
      return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
      errorCode = errno;
      std::remove(temporary.c_str());
      return false;
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<FileIo> makePortableFileIo() { return std::make_unique<PortableFileIo>(); }

#ifndef _WIN32
std::unique_ptr<FileIo> makePlatformFileIo() { return makePortableFileIo(); }
#endif

}  // namespace ombrisk
