// The profile store on the system's private-profile API. The API keeps a file in Unicode only
// when the file starts with a UTF-16LE byte-order mark; otherwise it converts to the ANSI
// code page and "左键" comes back as "??". So a file that does not exist yet, or is empty (as
// record.ini is installed), first gets just the mark.
#include <windows.h>

#include <vector>

#include "settings/profile_store.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

void markEmptyFileUnicode(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // cannot be opened: the API will say so
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart == 0) {
    const unsigned char mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, mark, sizeof mark, &written, nullptr);
  }
  CloseHandle(file);
}

class Win32ProfileStore final : public ProfileStore {
 public:
  std::string read(const std::string& file, std::string_view section, std::string_view key,
                   std::string_view fallback) override {
    wchar_t value[kProfileValueMax] = {};
    GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(fallback).c_str(),
                             value, kProfileValueMax, widen(file).c_str());
    return narrow(value);
  }

  bool write(const std::string& file, std::string_view section, std::string_view key,
             std::string_view value) override {
    const std::wstring path = widen(file);
    markEmptyFileUnicode(path);
    return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(),
                                      widen(value).c_str(), path.c_str()) != FALSE;
  }

  bool deleteSection(const std::string& file, std::string_view section) override {
    return WritePrivateProfileStringW(widen(section).c_str(), nullptr, nullptr,
                                      widen(file).c_str()) != FALSE;
  }

  std::vector<std::string> sectionNames(const std::string& file) override {
    const std::wstring path = widen(file);
    // The API cuts the list to the buffer; grow it until the list fits with room to spare.
    for (DWORD size = 4096;; size *= 2) {
      std::vector<wchar_t> buffer(size);
      const DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), size, path.c_str());
      if (length + 2 < size || size >= (1u << 24)) {
        std::vector<std::string> names;
        for (const wchar_t* name = buffer.data(); *name && name < buffer.data() + length;
             name += wcslen(name) + 1)
          names.push_back(narrow(name));
        return names;
      }
    }
  }
};

}  // namespace

std::unique_ptr<ProfileStore> makePlatformProfileStore() {
  return std::make_unique<Win32ProfileStore>();
}

}  // namespace ombrisk
