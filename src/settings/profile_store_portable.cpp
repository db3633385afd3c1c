// A profile store that follows the rules of the system's private-profile API: sections and
// keys match without regard to ASCII case, the first match wins, blanks around names and
// values are dropped, a new key goes to the end of its section and a new section to the end
// of the file. Files with a UTF-16LE byte-order mark are read and written as UTF-16LE;
// others as 8-bit text (UTF-8, which covers ASCII files).
#include <algorithm>
#include <cstdio>
#include <optional>

#include "settings/file_io.h"
#include "settings/profile_store.h"
#include "util/utf.h"

namespace ombrisk {
namespace {

enum class Encoding { Utf16Le, Bytes };

struct ProfileFile {
  Encoding encoding = Encoding::Utf16Le;  // of a file that does not exist yet
  std::vector<std::string> lines;         // UTF-8, without line ends
};

constexpr const char* kBlanks = " \t\r";

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The name of a section header line, or nothing.
std::optional<std::string_view> sectionHeader(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
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
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::optional<ProfileFile> loadFile(const std::string& path) {
  const auto bytes = readWholeFile(path);
  if (!bytes) return std::nullopt;
  const std::string raw(bytes->begin(), bytes->end());
  ProfileFile file;  // an empty file is written as one that does not exist yet
  std::string text;
  if (raw.empty()) {
    return file;
  } else if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
      static_cast<unsigned char>(raw[1]) == 0xFE) {
    file.encoding = Encoding::Utf16Le;
    std::u16string units;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2)
      units += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                     static_cast<unsigned char>(raw[i + 1]) << 8);
    text = utf16ToUtf8(units);
  } else {
    file.encoding = Encoding::Bytes;
    const bool utf8Bom = raw.rfind("\xEF\xBB\xBF", 0) == 0;
    text = utf8Bom ? raw.substr(3) : raw;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    file.lines.push_back(std::move(line));
    start = end + 1;
  }
  return file;
}

bool storeFile(const std::string& path, const ProfileFile& file) {
  std::string text;
  for (const std::string& line : file.lines) text += line + "\r\n";
  std::string raw;
  if (file.encoding == Encoding::Utf16Le) {
    raw = "\xFF\xFE";
    for (char16_t unit : utf8ToUtf16(text)) {
      raw += static_cast<char>(unit & 0xFF);
      raw += static_cast<char>(unit >> 8);
    }
  } else {
    raw = text;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(raw.data(), 1, raw.size(), out) == raw.size();
  return std::fclose(out) == 0 && written;
}

// Index of the first header line of section, or npos.
std::size_t findSection(const ProfileFile& file, std::string_view section) {
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const auto name = sectionHeader(file.lines[i]);
    if (name && sameName(*name, section)) return i;
  }
  return std::string::npos;
}

// One past the last line of the section whose header is at index header.
std::size_t sectionEnd(const ProfileFile& file, std::size_t header) {
  std::size_t i = header + 1;
  while (i < file.lines.size() && !sectionHeader(file.lines[i])) ++i;
  return i;
}

class PortableProfileStore final : public ProfileStore {
 public:
  std::string read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view fallback) override {
    const auto file = loadFile(path);
    std::string_view value = fallback;
    if (file) {
      const std::size_t header = findSection(*file, section);
      if (header != std::string::npos) {
        const std::size_t end = sectionEnd(*file, header);
        for (std::size_t i = header + 1; i < end; ++i) {
          const auto line = keyLine(file->lines[i]);
          if (line && sameName(line->key, key)) {
            value = unquote(line->value);
            break;
          }
        }
      }
    }
    return truncateUtf16Units(value, kProfileValueMax - 1);
  }

  bool write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override {
    ProfileFile file = loadFile(path).value_or(ProfileFile{});
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::size_t header = findSection(file, section);
    if (header == std::string::npos) {
      file.lines.push_back("[" + std::string(section) + "]");
      file.lines.push_back(entry);
      return storeFile(path, file);
    }
    const std::size_t end = sectionEnd(file, header);
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < end; ++i) {
      const auto line = keyLine(file.lines[i]);
      if (line && sameName(line->key, key)) {
        file.lines[i] = entry;
        return storeFile(path, file);
      }
      if (!trim(file.lines[i]).empty()) insertAt = i + 1;
    }
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    return storeFile(path, file);
  }

  bool deleteSection(const std::string& path, std::string_view section) override {
    auto file = loadFile(path);
    if (!file) return true;
    const std::size_t header = findSection(*file, section);
    if (header == std::string::npos) return true;
    file->lines.erase(file->lines.begin() + static_cast<std::ptrdiff_t>(header),
                      file->lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd(*file, header)));
    return storeFile(path, *file);
  }

  std::vector<std::string> sectionNames(const std::string& path) override {
    std::vector<std::string> names;
    if (const auto file = loadFile(path)) {
      for (const std::string& line : file->lines)
        if (const auto name = sectionHeader(line)) names.emplace_back(*name);
    }
    return names;
  }
};

}  // namespace

bool profileValueKeepsAsWritten(std::string_view value) {
  if (!isValidUtf8(value) || value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  if (trim(value).size() != value.size() || unquote(value).size() != value.size()) return false;
  return utf8ToUtf16(value).size() < kProfileValueMax;
}

std::unique_ptr<ProfileStore> makePortableProfileStore() {
  return std::make_unique<PortableProfileStore>();
}

#ifndef _WIN32
std::unique_ptr<ProfileStore> makePlatformProfileStore() { return makePortableProfileStore(); }
#endif

}  // namespace ombrisk
