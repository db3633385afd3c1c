#include <windows.h>

#include "settings/file_io.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

class Win32FileIo final : public FileIo {
 public:
  bool exists(const std::string& path) override {
    return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  FileContents read(const std::string& path) override {
    FileContents contents;
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      contents.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                            ? FileContents::Status::Missing
                            : FileContents::Status::Failed;
      return contents;
    }
    contents.status = FileContents::Status::Failed;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size)) {
      if (size.QuadPart > static_cast<LONGLONG>(kLargestFileRead)) {
        contents.status = FileContents::Status::TooLarge;
      } else {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (data.empty() || (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read,
                                      nullptr) && read == data.size())) {
          contents.status = FileContents::Status::Read;
          contents.bytes = std::move(data);
        }
      }
    }
    CloseHandle(file);
    return contents;
  }

  bool replaceAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         int& errorCode) override {
    const std::wstring target = widen(path);
    const std::wstring temporary = target + L".new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      errorCode = static_cast<int>(GetLastError());
      return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    const DWORD writeError = GetLastError();
    CloseHandle(file);
    if (!ok ||
        !MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      errorCode = static_cast<int>(ok ? GetLastError() : writeError);
      DeleteFileW(temporary.c_str());
      return false;
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<FileIo> makePlatformFileIo() { return std::make_unique<Win32FileIo>(); }

}  // namespace ombrisk
