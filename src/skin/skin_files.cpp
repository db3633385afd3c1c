#include "skin/skin_files.h"

namespace ombrisk {

std::string skinFolderFor(std::string_view executableFolder, std::string_view skinName) {
  std::string folder(executableFolder);
  folder += "/Skins/";
  folder += skinName;
  return folder;
}

SkinState& skinState() {
  static SkinState state;
  return state;
}

}  // namespace ombrisk
