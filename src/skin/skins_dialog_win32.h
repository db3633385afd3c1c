// CSkinsDialog: the skin and the caption colour. The skins are the folders under "Skins"
// beside the executable; the colour comes from the system's colour chooser. On OK the main
// window takes the choice over.
#pragma once

#include <string>

#include "skin/skinned_dialog_win32.h"
#include "skin/skins_dialog.h"

namespace ombrisk {

class CSkinsDialog final : public CSkinnedDialog {
 public:
  // executableFolder: with its trailing separator, as the skin folders are built from it.
  explicit CSkinsDialog(std::string executableFolder);
  ~CSkinsDialog() override;

  // The current skin until something else is chosen.
  const SkinChoice& choice() const { return choice_; }

 protected:
  void initContent() override;
  void drawContent(Painter& painter, TextColour labelColour) override;
  bool contentClick(int x, int y) override;
  std::vector<std::string> dropDownItems(std::size_t) override;
  void dropDownChosen(std::size_t, const DropDownList::Choice& choice) override;
  std::optional<HBRUSH> contentControlColour(UINT message, HDC dc, HWND control) override;

 private:
  std::vector<FolderEntry> listSkinsRoot() const;
  void chooseColour();

  std::string root_;
  SkinChoice choice_;
  HWND nameText_ = nullptr, colourBox_ = nullptr;
  HBRUSH colourBrush_ = nullptr;
};

}  // namespace ombrisk
