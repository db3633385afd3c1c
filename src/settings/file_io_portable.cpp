#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "settings/file_io.h"

namespace ombrisk {

std::optional<std::vector<std::uint8_t>> FileIo::readAll(const std::string& path) {
  FileContents contents = read(path);
  switch (contents.status) {
    case FileContents::Status::Read:
      return std::move(contents.bytes);
    case FileContents::Status::TooLarge:
      return std::vector<std::uint8_t>();
    default:
      return std::nullopt;
  }
}

FileContents readWholeFile(const std::string& path) {
  FileContents contents;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    contents.status = errno == ENOENT ? FileContents::Status::Missing : FileContents::Status::Failed;
    return contents;
  }
  contents.status = FileContents::Status::Read;
  std::uint8_t chunk[4096];
  while (true) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
    contents.bytes.insert(contents.bytes.end(), chunk, chunk + got);
    if (contents.bytes.size() > kLargestFileRead) {
      contents.status = FileContents::Status::TooLarge;
      break;
    }
    if (got < sizeof chunk) {
      // A folder, for one, opens but cannot be read.
      if (std::ferror(file)) contents.status = FileContents::Status::Failed;
      break;
    }
  }
  std::fclose(file);
  if (contents.status != FileContents::Status::Read) contents.bytes.clear();
  return contents;
}

namespace {

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
  (void)file;
  return true;  // the Win32 build saves through its own file operations
#else
  return ::fsync(fileno(file)) == 0;
#endif
}

class PortableFileIo final : public FileIo {
 public:
  bool exists(const std::string& path) override {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno != ENOENT;
    std::fclose(file);
    return true;
  }

  FileContents read(const std::string& path) override { return readWholeFile(path); }

  bool replaceAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         int& errorCode) override {
    const std::string temporary = path + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
      errorCode = errno;
      return false;
    }
    // Flushed to the disk before the rename, so that the new name never points at data the
    // system has not stored yet.
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                         std::fflush(file) == 0 && syncToDisk(file);
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
