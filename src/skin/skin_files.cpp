#include "skin/skin_files.h"

namespace ombrisk {

bool isPlainFolderName(std::string_view name) {
  if (name == "." || name == "..") return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

std::string skinFolderFor(std::string_view executableFolder, std::string_view skinName) {
  std::string folder(executableFolder);
  folder += "/Skins/";
  if (isPlainFolderName(skinName)) folder += skinName;
  return folder;
}

SkinState& skinState() {
  static SkinState state;
  return state;
}

}  // namespace ombrisk
