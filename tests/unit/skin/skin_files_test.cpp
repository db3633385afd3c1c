#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "skin/dialog_frame.h"
#include "skin/skin_files.h"

namespace ombrisk {
namespace {

namespace fs = std::filesystem;

const fs::path kSkinsRoot = fs::path(__FILE__).parent_path() / ".." / ".." / ".." / "Skins";

struct PngSize {
  unsigned width = 0, height = 0;
  bool ok = false;
};

// Width and height from the IHDR chunk of a PNG file.
PngSize readPngSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[24] = {};
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return {};
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!std::equal(signature, signature + 8, header) || std::string(header + 12, header + 16) != "IHDR")
    return {};
  auto be32 = [&](int at) {
    return unsigned(header[at]) << 24 | unsigned(header[at + 1]) << 16 | unsigned(header[at + 2]) << 8 |
           unsigned(header[at + 3]);
  };
  return {be32(16), be32(20), true};
}

std::vector<fs::path> skinFolders() {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(kSkinsRoot))
    if (entry.is_directory()) folders.push_back(entry.path());
  return folders;
}

TEST(DefaultSkins, AtLeastTwoSkinsWithEveryImage) {
  const auto folders = skinFolders();
  EXPECT_GE(folders.size(), 2u);
  for (const fs::path& folder : folders)
    for (std::string_view name : kSkinImageNames)
      EXPECT_TRUE(readPngSize(folder / std::string(name.substr(1))).ok) << folder << name;
}

// The images' sizes are the sizes of the regions they are drawn on.
TEST(DefaultSkins, ImageSizesMatchTheirRegions) {
  const std::map<std::string, std::pair<unsigned, unsigned>> sizes = {
      {"main.png", {880, 650}},
      {"BasicSet2.png", {880, 650}},
      {"AdvancedSet2.png", {880, 650}},
      {"button-normal.png", {105, 21}},
      {"button-over.png", {105, 21}},
      {"button-close-normal.png", {18, 18}},
      {"button-min-over.png", {18, 18}},
      {"button-Skins-normal.png", {18, 18}},
      {"button-PrePage-normal.png", {40, 40}},
      {"button-NextPage-over.png", {40, 40}},
      {"DropdownBox-normal.png", {211, 21}},
      {"Pane.png", {16, 16}},
      {"PaneMakingTick.png", {16, 16}},
      {"slider-dark.png", {24, 11}},
      {"slider-DPI-light.png", {16, 16}},
      {"slider-RP-dark.png", {70, 11}},
  };
  for (const fs::path& folder : skinFolders()) {
    for (const auto& [file, size] : sizes) {
      const PngSize png = readPngSize(folder / file);
      EXPECT_EQ(png.width, size.first) << folder << "/" << file;
      EXPECT_EQ(png.height, size.second) << folder << "/" << file;
    }
    for (const EditorDialogFrame& frame : kEditorDialogFrames) {
      const PngSize png = readPngSize(folder / std::string(skinImageName(frame.background).substr(1)));
      EXPECT_EQ(png.width, 380u) << skinImageName(frame.background);
      EXPECT_EQ(png.height, 285u) << skinImageName(frame.background);
    }
  }
}

TEST(SkinFolder, BesideTheExecutable) {
  EXPECT_EQ(skinFolderFor("C:\\Tools\\Ombrisk\\", "Graphite"), "C:\\Tools\\Ombrisk\\/Skins/Graphite");
  EXPECT_EQ(skinFolderFor("", "Ember"), "/Skins/Ember");
  // A name from an edited str.ini never leads out of Skins.
  for (const char* name : {"..", ".", "../../Windows", "..\\..", "a/b", "a\\b", "C:evil", "\\\\host\\share", "x\ny"})
    EXPECT_EQ(skinFolderFor("D:\\App", name), "D:\\App/Skins/") << name;
  EXPECT_EQ(skinFolderFor("D:\\App", "..Dots.."), "D:\\App/Skins/..Dots..");
  SkinState state{"C:\\x\\/Skins/Ember", "Ember", 255, 128, 0};
  EXPECT_EQ(state.textColour(), 0x0080FFu);
  EXPECT_EQ(state.imagePath(SkinImage::Main), "C:\\x\\/Skins/Ember/main.png");
}

}  // namespace
}  // namespace ombrisk
