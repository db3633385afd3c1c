#include "settings/profile_store.h"

#include <algorithm>
#include <optional>

#include "settings/file_io.h"
#include "util/utf.h"

namespace ombrisk {
namespace {

constexpr const char* kBlanks = " \t\r";
// Kept on saving: without it the text would be read as the ANSI code page by the system's
// API, or as UTF-16 when it happens to begin with the bytes of that mark.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string folded(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
  return out;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// The name of a section header line, or nothing.
std::optional<std::string_view> sectionHeader(std::string_view line) {
  // Most lines are not headers: look at the first non-blank before trimming the whole line.
  const std::size_t first = line.find_first_not_of(kBlanks);
  if (first == std::string_view::npos || line[first] != '[') return std::nullopt;
  line = trim(line);
  const std::size_t close = line.find(']');
  return trim(line.substr(1, (close == std::string_view::npos ? line.size() : close) - 1));
}

bool isComment(std::string_view line) {
  line = trim(line);
  return !line.empty() && line.front() == ';';
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
  if (isComment(line)) return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{trim(line.substr(0, equals)), trim(line.substr(equals + 1))};
}

// The system's store drops one pair of matching quotes around a value.
std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string asRead(std::string_view value) { return truncateUtf16Units(value, kProfileValueMax - 1); }

}  // namespace

std::string ProfileSection::read(std::string_view key, std::string_view fallback) const {
  const auto found = values_.find(folded(key));
  return asRead(found == values_.end() ? fallback : std::string_view(found->second));
}

std::vector<ProfileEntry> ProfileSection::entries() const {
  std::vector<ProfileEntry> entries;
  entries.reserve(values_.size());
  for (const auto& [key, value] : values_) entries.push_back({key, asRead(value)});
  return entries;
}

ProfileDocument ProfileDocument::fromBytes(std::string_view raw, std::shared_ptr<const AnsiCodePage> ansi) {
  ProfileDocument document;
  document.origin_ = Origin::Read;
  std::string text;
  if (raw.empty()) {
    // An empty file (record.ini as installed) is saved as a new one is: UTF-16LE with its mark.
    return document;
  } else if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
    std::u16string units;
    units.reserve(raw.size() / 2);
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
      units += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8);
    text = utf16ToUtf8(units);
  } else {
    document.encoding_ = raw.starts_with(kUtf8Mark) ? Encoding::Utf8Mark : Encoding::Bytes;
    text = document.encoding_ == Encoding::Utf8Mark ? raw.substr(kUtf8Mark.size()) : raw;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    document.lines_.push_back(std::move(line));
    start = end + 1;
  }
  // An 8-bit file that is not UTF-8 holds the system's code page; kept as it is when the code
  // page does not read it (or none was given).
  if (document.encoding_ == Encoding::Bytes && ansi && !isValidUtf8(text)) {
    std::vector<std::string> decoded;
    decoded.reserve(document.lines_.size());
    for (const std::string& line : document.lines_) {
      std::optional<std::string> utf8 = ansi->toUtf8(line);
      if (!utf8) return document;
      decoded.push_back(std::move(*utf8));
    }
    for (std::size_t i = 0; i < decoded.size(); ++i) document.ansiLines_.emplace(decoded[i], document.lines_[i]);
    document.lines_ = std::move(decoded);
    document.encoding_ = Encoding::Ansi;
    document.ansi_ = std::move(ansi);
  }
  return document;
}

bool profileValueKeepsAsWritten(std::string_view value) {
  if (!isValidUtf8(value) || value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  if (trim(value).size() != value.size() || unquote(value).size() != value.size()) return false;
  return utf8ToUtf16(value).size() < kProfileValueMax;
}

ProfileDocument ProfileDocument::unusable() {
  ProfileDocument document;
  document.origin_ = Origin::Unusable;
  return document;
}

std::string ProfileDocument::toBytes() const {
  std::string text;
  if (encoding_ == Encoding::Ansi) {
    // Lines read are written back as they were, new ones in the code page; when it cannot
    // hold one, the file becomes UTF-16LE (below).
    bool held = true;
    for (const std::string& line : lines_) {
      const auto read = ansiLines_.find(line);
      std::optional<std::string> bytes = read != ansiLines_.end() ? read->second : ansi_->fromUtf8(line);
      if (!bytes) {
        held = false;
        break;
      }
      text += *bytes;
      text += "\r\n";
    }
    if (held) return text;
    text.clear();
  }
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  if (encoding_ == Encoding::Bytes) return text;
  if (encoding_ == Encoding::Utf8Mark) return std::string(kUtf8Mark) + text;
  std::string raw = "\xFF\xFE";
  const std::u16string units = utf8ToUtf16(text);
  raw.reserve(2 + 2 * units.size());
  for (char16_t unit : units) {
    raw += static_cast<char>(unit & 0xFF);
    raw += static_cast<char>(unit >> 8);
  }
  return raw;
}

std::size_t ProfileDocument::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = sectionHeader(lines_[i]);
    if (name && sameName(*name, section)) return i;
  }
  return std::string::npos;
}

std::size_t ProfileDocument::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !sectionHeader(lines_[i])) ++i;
  return i;
}

ProfileSection ProfileDocument::section(std::string_view name) const {
  ProfileSection section;
  const std::size_t header = findSection(name);
  if (header == std::string::npos) return section;
  section.exists_ = true;
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i)
    if (const auto line = keyLine(lines_[i])) section.values_.emplace(folded(line->key), unquote(line->value));
  return section;
}

std::string ProfileDocument::read(std::string_view sectionName, std::string_view key, std::string_view fallback) const {
  const std::size_t header = findSection(sectionName);
  if (header != std::string::npos) {
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
      const auto line = keyLine(lines_[i]);
      if (line && sameName(line->key, key)) return asRead(unquote(line->value));
    }
  }
  return asRead(fallback);
}

std::vector<std::string> ProfileDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const std::string& line : lines_)
    if (const auto name = sectionHeader(line)) names.emplace_back(*name);
  return names;
}

void ProfileDocument::write(std::string_view section, std::string_view key, std::string_view value) {
  std::string entry(key);
  entry += '=';
  entry += value;
  const std::size_t header = findSection(section);
  if (header == std::string::npos) {
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(entry));
    return;
  }
  const std::size_t end = sectionEnd(header);
  std::size_t insertAt = header + 1;
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto line = keyLine(lines_[i]);
    if (line && sameName(line->key, key)) {
      lines_[i] = std::move(entry);
      return;
    }
    if (!trim(lines_[i]).empty()) insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

bool ProfileDocument::deleteSection(std::string_view section) {
  const std::size_t header = findSection(section);
  if (header == std::string::npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
               lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd(header)));
  return true;
}

void ProfileDocument::rewriteSection(std::string_view section, const std::vector<ProfileEntry>& entries) {
  deleteSection(section);
  lines_.push_back("[" + std::string(section) + "]");
  for (const ProfileEntry& entry : entries) lines_.push_back(entry.key + "=" + entry.value);
}

ProfileStore::ProfileStore(std::unique_ptr<FileIo> io, std::shared_ptr<const AnsiCodePage> ansi)
    : io_(std::move(io)), ansi_(std::move(ansi)) {}
ProfileStore::~ProfileStore() = default;

ProfileDocument ProfileStore::load(const std::string& file) {
  const FileContents contents = io_->read(file);
  switch (contents.status) {
    case FileContents::Status::Missing:
      return ProfileDocument();
    case FileContents::Status::Read:
      return ProfileDocument::fromBytes(
          std::string_view(reinterpret_cast<const char*>(contents.bytes.data()), contents.bytes.size()), ansi_);
    default:
      return ProfileDocument::unusable();
  }
}

bool ProfileStore::save(const std::string& file, const ProfileDocument& document) {
  if (!document.usable()) return false;
  const std::string bytes = document.toBytes();
  if (bytes.size() > kLargestFileRead) return false;  // it could not be read back whole
  int errorCode = 0;
  return io_->replaceAtomically(file, std::vector<std::uint8_t>(bytes.begin(), bytes.end()), errorCode);
}

std::string ProfileStore::read(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view fallback) {
  return load(file).read(section, key, fallback);
}

bool ProfileStore::write(const std::string& file, std::string_view section, std::string_view key,
                         std::string_view value) {
  ProfileDocument document = load(file);
  document.write(section, key, value);
  return save(file, document);
}

bool ProfileStore::deleteSection(const std::string& file, std::string_view section) {
  ProfileDocument document = load(file);
  if (!document.deleteSection(section)) return document.usable();
  return save(file, document);
}

std::vector<std::string> ProfileStore::sectionNames(const std::string& file) {
  return load(file).sectionNames();
}

#ifndef _WIN32
std::shared_ptr<const AnsiCodePage> platformAnsiCodePage() { return nullptr; }
#endif

std::unique_ptr<ProfileStore> makePortableProfileStore() {
  return std::make_unique<ProfileStore>(makePortableFileIo());
}

}  // namespace ombrisk
