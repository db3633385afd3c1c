// Reading and writing INI-style profile files (str.ini, record.ini).
//
// The Win32 build uses the system's private-profile API (profile_store_win32.cpp); the
// portable store (profile_store_portable.cpp) reads and writes the same files with the same
// rules for the native tests and tools. Texts are UTF-8 in the core.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// Values are read with a buffer of this many characters, terminator included: a longer
// value is cut to kProfileValueMax - 1 characters.
inline constexpr std::size_t kProfileValueMax = 1024;

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The value of key in section, or fallback when the file, section or key is missing.
  virtual std::string read(const std::string& file, std::string_view section,
                           std::string_view key, std::string_view fallback = {}) = 0;
  // Sets key in section (a new section goes to the end of the file, a new key to the end of
  // its section). A file that does not exist yet, or is empty, is written as UTF-16LE with a
  // byte-order mark, so that the system's store keeps non-ASCII texts.
  virtual bool write(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
  // Removes a whole section; a later write of it appends it at the end of the file.
  virtual bool deleteSection(const std::string& file, std::string_view section) = 0;
  // Every section name, in file order.
  virtual std::vector<std::string> sectionNames(const std::string& file) = 0;
};

// Whether the store gives value back exactly as written: UTF-8 without line breaks or NUL,
// without blanks at either end, not inside a pair of matching quotes, and short enough for
// the read buffer.
bool profileValueKeepsAsWritten(std::string_view value);

// The store of the platform the program was built for.
std::unique_ptr<ProfileStore> makePlatformProfileStore();
// The portable store, on every platform (its files are interchangeable with the system's).
std::unique_ptr<ProfileStore> makePortableProfileStore();

}  // namespace ombrisk
