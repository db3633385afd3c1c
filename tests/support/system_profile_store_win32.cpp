// The API keeps a file in Unicode only when the file starts with a UTF-16LE byte-order mark;
// otherwise it converts to the ANSI code page and "左键" comes back as "??". So a file that does
// not exist yet is first created holding just the mark, as the program's store creates it.
#include "support/system_profile_store_win32.h"

#include <windows.h>

#include "settings/profile_store.h"
#include "util/wide_win32.h"

namespace ombrisk::testing {
namespace {

void createUnicodeFileIfMissing(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // exists already (or cannot be made: the API says)
  const unsigned char mark[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(file, mark, sizeof mark, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

std::string SystemProfileStore::read(const std::string& file, std::string_view section, std::string_view key,
                                     std::string_view fallback) {
  wchar_t value[kProfileValueMax] = {};
  GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(fallback).c_str(), value,
                           kProfileValueMax, widen(file).c_str());
  return narrow(value);
}

bool SystemProfileStore::write(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view value) {
  const std::wstring path = widen(file);
  createUnicodeFileIfMissing(path);
  return WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), widen(value).c_str(),
                                    path.c_str()) != FALSE;
}

bool SystemProfileStore::deleteSection(const std::string& file, std::string_view section) {
  return WritePrivateProfileStringW(widen(section).c_str(), nullptr, nullptr, widen(file).c_str()) != FALSE;
}

std::vector<std::string> SystemProfileStore::sectionNames(const std::string& file) {
  const std::wstring path = widen(file);
  // The API cuts the list to the buffer; grow it until the list fits with room to spare.
  for (DWORD size = 4096;; size *= 2) {
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), size, path.c_str());
    if (length + 2 < size || size >= (1u << 24)) {
      std::vector<std::string> names;
      for (const wchar_t* name = buffer.data(); *name && name < buffer.data() + length; name += wcslen(name) + 1)
        names.push_back(narrow(name));
      return names;
    }
  }
}

}  // namespace ombrisk::testing
