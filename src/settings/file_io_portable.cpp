#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "settings/file_io.h"

namespace ombrisk {
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
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
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
