// The skin dialog's decisions: which entries of the skins folder are skins, the folder of a
// chosen name, the prompt, and what OK stores in str.ini.
#include <gtest/gtest.h>

#include "skin/skins_dialog.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

TEST(SkinsDialog, FoldersAreSkinsInListingOrderFilesAndDotsAreNot) {
  const std::vector<FolderEntry> entries = {
      {".", true}, {"..", true}, {"Graphite", true}, {"readme.txt", false}, {"ember", true}, {"Ember.png", false}};
  EXPECT_EQ(skinNames(entries), (std::vector<std::string>{"Graphite", "ember"}));
  EXPECT_TRUE(skinNames({{".", true}, {"..", true}, {"notes.txt", false}}).empty());
  EXPECT_EQ(findSkinFolder(entries, "EMBER"), "ember");
  EXPECT_EQ(findSkinFolder(entries, "graphite"), "Graphite");
  EXPECT_EQ(findSkinFolder(entries, "Ember.png"), std::nullopt) << "a file is no skin";
  EXPECT_EQ(findSkinFolder(entries, ".."), std::nullopt);
  EXPECT_EQ(findSkinFolder({}, "Graphite"), std::nullopt);
  EXPECT_EQ(skinsRoot("C:\\Ombrisk\\"), "C:\\Ombrisk\\/Skins");
}

TEST(SkinsDialog, PromptByLanguage) {
  EXPECT_EQ(skinsPrompt(Language::English), "Please click to set the UI text color");
  EXPECT_EQ(skinsPrompt(Language::SimplifiedChinese), "请点击设置UI文本颜色");
  EXPECT_EQ(skinsPrompt(Language::TraditionalChinese), "請點擊設置UI文本顏色");
}

TEST(SkinsDialog, OkWritesTheColourAndTheNameIntoTheSkinsSectionOnly) {
  testing::TempFolder folder;
  const std::string ini = folder.file("str.ini");
  auto store = makePortableProfileStore();
  store->write(ini, "Skins", "Lan", "CHS");
  store->write(ini, "Setting-EN", "Key1", "Left Click");
  writeSkinChoice(*store, ini, {"C:\\x\\/Skins/Ember", "Ember", 255, 128, 0});
  EXPECT_EQ(store->read(ini, "Skins", "RColor"), "255");
  EXPECT_EQ(store->read(ini, "Skins", "GColor"), "128");
  EXPECT_EQ(store->read(ini, "Skins", "BColor"), "0");
  EXPECT_EQ(store->read(ini, "Skins", "Path"), "Ember");
  EXPECT_EQ(store->read(ini, "Skins", "Lan"), "CHS");
  EXPECT_EQ(store->read(ini, "Setting-EN", "Key1"), "Left Click");
}

}  // namespace
}  // namespace ombrisk
