#include <gtest/gtest.h>

#include "settings/profile_store.h"
#include "support/temp_folder.h"

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

}  // namespace
}  // namespace ombrisk
