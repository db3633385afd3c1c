// The few file operations the settings file needs, so the settings logic stays portable: the
// Win32 build supplies its own (file_io_win32.cpp), the portable versions serve native tests
// and tools. Saving reports its failures through a MessageSink.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "util/message_sink.h"

namespace ombrisk {

// Files are read whole only up to this size: none of ours is larger. A larger one is of a
// wrong length for config.bin, and a profile file that large is left alone (read as empty,
// never written over), so nothing is ever rewritten from a part of it.
inline constexpr std::size_t kLargestFileRead = 1 << 20;

struct FileContents {
  enum class Status { Read, Missing, TooLarge, Failed };
  Status status = Status::Missing;
  std::vector<std::uint8_t> bytes;  // the whole file when Read, else empty
};

class FileIo {
 public:
  virtual ~FileIo() = default;
  virtual bool exists(const std::string& path) = 0;
  // The whole file when it holds at most kLargestFileRead bytes.
  virtual FileContents read(const std::string& path) = 0;
  // The whole file, or nothing when it cannot be opened or read; a file too large to be read
  // comes back empty (a wrong length, as far as config.bin cares).
  std::optional<std::vector<std::uint8_t>> readAll(const std::string& path);
  // Writes bytes to a temporary file in the same folder and puts it in place of path in one
  // step, so a failed or interrupted write leaves the old file whole. On failure returns
  // false and sets errorCode to the system's error code.
  virtual bool replaceAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                                 int& errorCode) = 0;
};

std::unique_ptr<FileIo> makePlatformFileIo();

// Standard C file reading, without exceptions.
FileContents readWholeFile(const std::string& path);
std::unique_ptr<FileIo> makePortableFileIo();

}  // namespace ombrisk
