// Reading and writing INI-style profile files (str.ini, record.ini).
//
// One store on every platform: it follows the rules of the system's private-profile API
// (sections and keys match without regard to ASCII case, the first match wins, blanks around
// names and values are dropped, a new key goes to the end of its section and a new section to
// the end of the file), so its files are interchangeable with the system's. Unlike that API it
// reads a file once per operation, writes it once, and writes it atomically (a temporary file
// put in place in one step), so an interrupted save leaves the old file whole. A file that
// cannot be read whole (larger than kLargestFileRead, or unreadable) reads as empty and is never
// written over, and no change makes a file larger than that. Texts are UTF-8 in the core.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/file_io.h"

namespace ombrisk {


// Values are read with a buffer of this many characters, terminator included: a longer
// value is cut to kProfileValueMax - 1 characters.
inline constexpr std::size_t kProfileValueMax = 1024;

struct ProfileEntry {
  std::string key;
  std::string value;
};

// The keys of one section for many look-ups: the first value of each key (ASCII case folded).
class ProfileSection {
 public:
  // The value of key, or fallback; cut as read() cuts it.
  std::string read(std::string_view key, std::string_view fallback = {}) const;
  bool exists() const { return exists_; }
  // Every key once (ASCII case folded) with its value as read() gives it, in no set order:
  // one pass over a section instead of a look-up per key a caller might ask for.
  std::vector<ProfileEntry> entries() const;

 private:
  friend class ProfileDocument;
  bool exists_ = false;
  std::unordered_map<std::string, std::string> values_;
};

// The system's 8-bit code page, in which its private-profile functions read and write files
// without a byte-order mark (the ANSI code page on Windows: GBK on a Chinese one).
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // The UTF-8 text of bytes; nothing when they are not text of the code page.
  virtual std::optional<std::string> toUtf8(std::string_view bytes) const = 0;
  // The code page's bytes of a UTF-8 text; nothing when it cannot hold every character.
  virtual std::optional<std::string> fromUtf8(std::string_view text) const = 0;
};

// The platform's code page (the program's, on Windows); none on other systems, which cannot
// know the code page of the Windows that wrote a file.
std::shared_ptr<const AnsiCodePage> platformAnsiCodePage();

// A profile file in memory: one load, any number of reads and changes, one save.
class ProfileDocument {
 public:
  // UTF-16LE with its byte-order mark, UTF-8 with its mark, 8-bit text without a mark that
  // is UTF-8 or that no code page was given for (Bytes), or 8-bit text of the ANSI code page
  // (Ansi: the system's store wrote it so). A save keeps the file's own, and of an Ansi file
  // the lines it read unchanged byte for byte; one whose new texts the code page cannot hold
  // is saved as UTF-16LE, which the system's store reads as well.
  enum class Encoding { Utf16Le, Utf8Mark, Bytes, Ansi };
  // Missing: no file yet (a save creates it as UTF-16LE with a byte-order mark, so that the
  // system's store keeps non-ASCII texts); Read: read whole; Unusable: too large or unreadable,
  // read as empty and never saved.
  enum class Origin { Missing, Read, Unusable };

  ProfileDocument() = default;
  // ansi: the code page of 8-bit files that are not UTF-8 (none: their bytes are taken as
  // they are, and their texts are not valid UTF-8).
  static ProfileDocument fromBytes(std::string_view bytes, std::shared_ptr<const AnsiCodePage> ansi = nullptr);
  static ProfileDocument unusable();
  std::string toBytes() const;

  Origin origin() const { return origin_; }
  bool usable() const { return origin_ != Origin::Unusable; }
  Encoding encoding() const { return encoding_; }

  std::string read(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
  ProfileSection section(std::string_view name) const;
  // Every section name, in file order.
  std::vector<std::string> sectionNames() const;
  // Sets key in section (a new section goes to the end of the file, a new key to the end of
  // its section).
  void write(std::string_view section, std::string_view key, std::string_view value);
  // Removes a whole section (false when there was none); a later write of it appends it at
  // the end of the file.
  bool deleteSection(std::string_view section);
  // Removes section and appends it anew with entries in order: a deleteSection and a write of
  // each entry, in time linear in the file and the entries.
  void rewriteSection(std::string_view section, const std::vector<ProfileEntry>& entries);

 private:
  std::size_t findSection(std::string_view section) const;
  std::size_t sectionEnd(std::size_t header) const;

  Origin origin_ = Origin::Missing;
  Encoding encoding_ = Encoding::Utf16Le;  // of a file that does not exist yet
  std::vector<std::string> lines_;         // UTF-8, without line ends
  // Of an Ansi file: its code page, and the bytes each line was read from, by its text.
  std::shared_ptr<const AnsiCodePage> ansi_;
  std::unordered_map<std::string, std::string> ansiLines_;
};

class ProfileStore {
 public:
  // ansi: the code page of 8-bit files that are not UTF-8 (see ProfileDocument).
  explicit ProfileStore(std::unique_ptr<FileIo> io, std::shared_ptr<const AnsiCodePage> ansi = nullptr);
  ~ProfileStore();

  // The file as it is now, read once.
  ProfileDocument load(const std::string& file);
  // Puts document in place of file in one step. False, leaving the file as it was, when the
  // document is unusable (it came from a file that could not be read whole), when it would
  // not fit kLargestFileRead (it could not be read back), or when the write failed.
  bool save(const std::string& file, const ProfileDocument& document);

  // Single operations, each one load and at most one save.
  std::string read(const std::string& file, std::string_view section, std::string_view key,
                   std::string_view fallback = {});
  bool write(const std::string& file, std::string_view section, std::string_view key,
             std::string_view value);
  bool deleteSection(const std::string& file, std::string_view section);
  std::vector<std::string> sectionNames(const std::string& file);

 private:
  std::unique_ptr<FileIo> io_;
  std::shared_ptr<const AnsiCodePage> ansi_;
};

// Whether the store gives value back exactly as written: UTF-8 without line breaks or NUL,
// without blanks at either end, not inside a pair of matching quotes, and short enough for
// the read buffer.
bool profileValueKeepsAsWritten(std::string_view value);

// The store on the platform's file operations (the program's; inline, so that the core does
// not depend on the Win32 library that holds them), and on standard C files.
inline std::unique_ptr<ProfileStore> makePlatformProfileStore() {
  return std::make_unique<ProfileStore>(makePlatformFileIo(), platformAnsiCodePage());
}
std::unique_ptr<ProfileStore> makePortableProfileStore();

}  // namespace ombrisk
