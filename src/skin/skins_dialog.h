// The skin dialog's decisions (CSkinsDialog): the prompt in the interface language, which
// entries of the skins folder are skins, the folder of a chosen name, and what OK stores.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "settings/profile_store.h"
#include "skin/surface.h"

namespace ombrisk {

std::string_view skinsPrompt(Language language);
// The prompt above the colour box, centred on one line.
void drawSkinsDialogContent(Painter& painter, Language language, TextColour colour);

// The folder that holds the skins: the executable's folder + "/Skins".
std::string skinsRoot(std::string_view executableFolder);

// An entry of the skins folder as the system lists it.
struct FolderEntry {
  std::string name;
  bool folder = false;
};
// The skins: the folders, in listing order, without "." and "..".
std::vector<std::string> skinNames(const std::vector<FolderEntry>& entries);
// The first skin folder whose name is name without regard to ASCII letter case.
std::optional<std::string> findSkinFolder(const std::vector<FolderEntry>& entries, std::string_view name);

// What the dialog ends with and the main window takes over.
struct SkinChoice {
  std::string folder;  // full path images are loaded from
  std::string name;    // the folder's name, stored as "Path"
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const SkinChoice&) const = default;
};
// "RColor", "GColor", "BColor" (decimal) and "Path" into section "Skins" of str.ini, in one
// save; false when str.ini was left as it was.
bool writeSkinChoice(ProfileStore& store, const std::string& strIni, const SkinChoice& choice);

}  // namespace ombrisk
