#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "settings/file_io.h"
#include "settings/profile_store.h"
#include "support/temp_folder.h"
#include "util/utf.h"

namespace ombrisk {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

std::vector<std::uint8_t> asBytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> asUtf16File(std::u16string_view text) {
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

class PortableStore : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string ini = folder.file("str.ini");
  std::unique_ptr<ProfileStore> store = makePortableProfileStore();
};

TEST_F(PortableStore, ReadsAnsiFilesWithTheSystemsMatchingRules) {
  writeBytes(ini, asBytes("; comment\r\n"
                          "[Skins]\r\n"
                          "  Path =  Carbon  \r\n"
                          "RColor=\"12\"\r\n"
                          "path=second\r\n"
                          "[setting-en]\n"
                          "Item1=Left Click\n"
                          "Item13=\n"));
  const struct {
    const char *section, *key, *value;
  } cases[] = {
      {"Skins", "Path", "Carbon"},       // blanks around names and values dropped
      {"SKINS", "path", "Carbon"},       // case-insensitive, first match wins
      {"Skins", "RColor", "12"},         // one pair of quotes dropped
      {"Setting-EN", "Item1", "Left Click"},
      {"Setting-EN", "Item13", ""},      // present but empty
      {"Setting-EN", "Item2", "dflt"},   // missing key
      {"Nowhere", "Item1", "dflt"},      // missing section
  };
  for (const auto& c : cases)
    EXPECT_EQ(store->read(ini, c.section, c.key, "dflt"), c.value) << c.section << "/" << c.key;
}

TEST_F(PortableStore, ReadsUtf16FilesAndCutsLongValues) {
  const std::u16string longValue(2000, u'x');
  writeBytes(ini, asUtf16File(u"[Setting-CHS]\r\nItem1=左键\r\nItem2=" + longValue + u"\r\n"));
  EXPECT_EQ(store->read(ini, "Setting-CHS", "Item1"), "左键");
  EXPECT_EQ(store->read(ini, "Setting-CHS", "Item2"), std::string(1023, 'x'));
}

// A missing file and an empty one (record.ini as installed) alike.
TEST_F(PortableStore, NewOrEmptyFileIsUtf16WithByteOrderMark) {
  for (const bool empty : {false, true}) {
    std::filesystem::remove(testing::pathFromUtf8(ini));
    if (empty) writeBytes(ini, {});
    ASSERT_TRUE(store->write(ini, "Setting-CHT", "Item1", "左鍵"));
    EXPECT_EQ(readBytes(ini), asUtf16File(u"[Setting-CHT]\r\nItem1=左鍵\r\n")) << "empty file: " << empty;
    EXPECT_EQ(store->read(ini, "Setting-CHT", "Item1"), "左鍵");
  }
}

TEST_F(PortableStore, AnsiFileStaysAnsiWhenWritten) {
  writeBytes(ini, asBytes("[Skins]\r\nLan=CHS\r\n\r\n[Other]\r\nA=1\r\n"));
  store->write(ini, "Skins", "Path", "Carbon");  // new key: end of its section, before blanks
  store->write(ini, "other", "a", "2");          // existing key: in place
  EXPECT_EQ(readBytes(ini),
            asBytes("[Skins]\r\nLan=CHS\r\nPath=Carbon\r\n\r\n[Other]\r\na=2\r\n"));
}

// A UTF-8 file keeps its byte-order mark; once it lost it, a file whose text begins with the
// bytes FF FE read back as UTF-16.
// Latin-1 as the system's code page: every byte is a character, nothing above U+00FF fits.
// The byte 0x81 stands for a byte the code page has no character for.
class Latin1 final : public AnsiCodePage {
 public:
  std::optional<std::string> toUtf8(std::string_view bytes) const override {
    std::string text;
    for (const char c : bytes) {
      const auto b = static_cast<unsigned char>(c);
      if (b == 0x81) return std::nullopt;
      appendUtf8(text, b);
    }
    return text;
  }
  std::optional<std::string> fromUtf8(std::string_view text) const override {
    std::string bytes;
    for (const char16_t unit : utf8ToUtf16(text)) {
      if (unit > 0xFF) return std::nullopt;
      bytes += static_cast<char>(unit);
    }
    return bytes;
  }
};

TEST_F(PortableStore, FilesOfTheSystemsCodePageReadAsTextAndKeepWhatTheyHold) {
  // Written by the system's store: no mark, the code page's bytes; one line in the middle as
  // a hand-edited file might have it (blanks, a comment).
  const std::string file = "[Setting-EN]\r\nItem1=Caf\xE9\r\n  ; na\xEFve note  \r\nItem2=Stra\xDF" "e\r\n";
  store = std::make_unique<ProfileStore>(makePortableFileIo(), std::make_shared<Latin1>());
  writeBytes(ini, asBytes(file));
  const ProfileDocument read = store->load(ini);
  EXPECT_EQ(read.encoding(), ProfileDocument::Encoding::Ansi);
  EXPECT_EQ(read.read("Setting-EN", "Item1"), "Café");
  EXPECT_EQ(readBytes(ini), asBytes(file)) << "reading writes nothing";

  // A change the code page holds: the lines read stay byte for byte, the new one in the code page.
  ASSERT_TRUE(store->write(ini, "Setting-EN", "Item3", "Ça va"));
  EXPECT_EQ(readBytes(ini), asBytes(file + "Item3=\xC7" "a va\r\n"));
  EXPECT_EQ(store->read(ini, "Setting-EN", "Item2"), "Straße");

  // One it does not hold: the whole file in UTF-16LE, every text as it was read.
  ASSERT_TRUE(store->write(ini, "Setting-EN", "Item4", "连招"));
  EXPECT_EQ(readBytes(ini), asUtf16File(u"[Setting-EN]\r\nItem1=Café\r\n  ; naïve note  \r\nItem2=Straße\r\n"
                                        u"Item3=Ça va\r\nItem4=连招\r\n"));

  // UTF-8 without a mark (ASCII, or what this store wrote into such a file) stays UTF-8; a
  // file the code page cannot read, and any 8-bit file without a code page, keep their bytes.
  for (const auto& [bytes, withCodePage] : {std::pair{std::string("[S]\r\nA=caf\xC3\xA9\r\n"), true},
                                           std::pair{std::string("[S]\r\nA=\x81\xE9\r\n"), true},
                                           std::pair{std::string("[S]\r\nA=caf\xE9\r\n"), false}}) {
    store = std::make_unique<ProfileStore>(makePortableFileIo(), withCodePage ? std::make_shared<Latin1>() : nullptr);
    writeBytes(ini, asBytes(bytes));
    EXPECT_EQ(store->load(ini).encoding(), ProfileDocument::Encoding::Bytes);
    EXPECT_EQ(store->read(ini, "S", "A"), bytes.substr(7, bytes.size() - 9));
    ASSERT_TRUE(store->write(ini, "S", "B", "1"));
    EXPECT_EQ(readBytes(ini), asBytes(bytes + "B=1\r\n"));
  }
}

TEST_F(PortableStore, Utf8FileKeepsItsMark) {
  for (const std::string text : {std::string("[Skins]\r\nPath=碳纤维\r\n"), std::string("\xFF\xFE[S]\r\n")}) {
    writeBytes(ini, asBytes("\xEF\xBB\xBF" + text));
    ASSERT_TRUE(store->write(ini, "Skins", "Lan", "CHS"));
    EXPECT_EQ(readBytes(ini), asBytes("\xEF\xBB\xBF" + text + (text[0] == '[' ? "Lan=CHS\r\n" : "[Skins]\r\nLan=CHS\r\n")));
  }
  EXPECT_EQ(store->read(ini, "Skins", "Lan"), "CHS");
}

TEST_F(PortableStore, RewrittenSectionMovesToTheEnd) {
  store->write(ini, "Alpha", "ItemCount", "1");
  store->write(ini, "Beta", "ItemCount", "2");
  store->write(ini, "Gamma", "ItemCount", "3");
  EXPECT_EQ(store->sectionNames(ini), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  store->deleteSection(ini, "alpha");
  EXPECT_EQ(store->read(ini, "Alpha", "ItemCount", "gone"), "gone");
  store->write(ini, "Alpha", "ItemCount", "4");
  EXPECT_EQ(store->sectionNames(ini), (std::vector<std::string>{"Beta", "Gamma", "Alpha"}));
  EXPECT_EQ(store->read(ini, "Beta", "ItemCount"), "2");
}

TEST_F(PortableStore, MissingFileHasNoSectionsAndDeleteIsHarmless) {
  EXPECT_TRUE(store->sectionNames(ini).empty());
  EXPECT_TRUE(store->deleteSection(ini, "Any"));
  EXPECT_EQ(store->read(ini, "Any", "Key", "fallback"), "fallback");
}

// A file the store cannot read whole is read as empty and never written over: writing back
// what was read of it would lose the rest.
TEST_F(PortableStore, FileThatCannotBeReadWholeIsLeftAlone) {
  std::string large = "[Skins]\r\nPath=Carbon\r\n";
  large.resize(kLargestFileRead + 1, ';');
  struct Case {
    const char* what;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"larger than the read limit", [&] { writeBytes(ini, asBytes(large)); }},
      {"a folder", [&] { std::filesystem::create_directory(testing::pathFromUtf8(ini)); }},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(testing::pathFromUtf8(ini));
    c.make();
    const bool folder = std::filesystem::is_directory(testing::pathFromUtf8(ini));
    const auto before = folder ? std::vector<std::uint8_t>() : readBytes(ini);
    EXPECT_FALSE(store->load(ini).usable()) << c.what;
    EXPECT_EQ(store->read(ini, "Skins", "Path", "none"), "none") << c.what;
    EXPECT_TRUE(store->sectionNames(ini).empty()) << c.what;
    EXPECT_FALSE(store->write(ini, "Skins", "Path", "Default")) << c.what;
    EXPECT_FALSE(store->deleteSection(ini, "Skins")) << c.what;
    EXPECT_EQ(std::filesystem::is_directory(testing::pathFromUtf8(ini)), folder) << c.what;
    if (!folder) EXPECT_EQ(readBytes(ini), before) << c.what;
  }
}

// A file of the read limit is read and written; a change that would take it past the limit is
// refused, so that the store can always read back what it wrote.
TEST_F(PortableStore, FileIsWrittenOnlyWhileItFitsTheReadLimit) {
  std::string text = "[Skins]\r\nPath=Carbon\r\n";
  text.resize(kLargestFileRead, ';');
  writeBytes(ini, asBytes(text));
  EXPECT_EQ(store->read(ini, "Skins", "Path"), "Carbon");
  EXPECT_FALSE(store->write(ini, "Skins", "Path", "Carbon7"));
  EXPECT_EQ(readBytes(ini), asBytes(text));
  EXPECT_TRUE(store->write(ini, "Skins", "Path", "Wood"));
  EXPECT_EQ(store->read(ini, "Skins", "Path"), "Wood");
}

// Counts the reads and writes that reach the files.
class CountingFileIo final : public FileIo {
 public:
  CountingFileIo(int& reads, int& writes) : reads_(reads), writes_(writes) {}
  bool exists(const std::string& path) override { return inner_->exists(path); }
  FileContents read(const std::string& path) override {
    ++reads_;
    return inner_->read(path);
  }
  bool replaceAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes, int& errorCode) override {
    ++writes_;
    return inner_->replaceAtomically(path, bytes, errorCode);
  }

 private:
  std::unique_ptr<FileIo> inner_ = makePortableFileIo();
  int& reads_;
  int& writes_;
};

TEST(ProfileDocument, ManyChangesAreOneReadAndOneWriteOfTheFile) {
  TempFolder folder;
  const std::string ini = folder.file("str.ini");
  int reads = 0, writes = 0;
  ProfileStore store(std::make_unique<CountingFileIo>(reads, writes));
  ProfileDocument file = store.load(ini);
  for (int i = 0; i < 1000; ++i) file.write("Setting-EN", "Item" + std::to_string(i), std::to_string(i));
  file.rewriteSection("Skins", {{"Path", "Carbon"}, {"RColor", "7"}});
  ASSERT_TRUE(store.save(ini, file));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(writes, 1);

  const ProfileSection section = store.load(ini).section("setting-en");
  EXPECT_TRUE(section.exists());
  EXPECT_EQ(section.read("ITEM999"), "999");
  EXPECT_EQ(section.read("Item1000", "none"), "none");
  EXPECT_EQ(store.read(ini, "Skins", "RColor"), "7");
  EXPECT_EQ(store.sectionNames(ini), (std::vector<std::string>{"Setting-EN", "Skins"}));
}

}  // namespace
}  // namespace ombrisk
