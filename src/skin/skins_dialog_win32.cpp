#include "skin/skins_dialog_win32.h"

#include <commdlg.h>

#include "skin/skin_files.h"
#include "skin/skins_dialog_surface.h"
#include "util/resource_counts_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

using enum SkinsDialogControl;

}  // namespace

CSkinsDialog::CSkinsDialog(std::string executableFolder)
    : CSkinnedDialog(EditorDialog::Skins), root_(skinsRoot(executableFolder)) {
  const SkinState& state = skinState();
  choice_ = {state.folder, state.name, state.red, state.green, state.blue};
}

CSkinsDialog::~CSkinsDialog() {
  if (colourBrush_) deleteCountedGdi(colourBrush_);
}

void CSkinsDialog::initContent() {
  const SurfaceTables<SkinsDialogControl> surface = skinsDialogSurface();
  const auto make = [&](SkinsDialogControl control, DWORD style, const std::string& text) {
    const ChildControl<SkinsDialogControl>& child = childOf(surface.children, control);
    HWND made = CreateWindowExW(0, L"STATIC", widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, child.rect.left,
                                child.rect.top, child.rect.width(), child.rect.height(), window(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), GetModuleHandleW(nullptr),
                                nullptr);
    if (made) SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    return made;
  };
  nameText_ = make(SkinText, SS_SUNKEN | SS_CENTER | SS_CENTERIMAGE, choice_.name);
  colourBox_ = make(ColourBox, SS_CENTER, "");
  addDropDown(surface.dropDown(SkinBox, SkinList));
}

void CSkinsDialog::drawContent(Painter& painter, TextColour labelColour) {
  drawSkinsDialogContent(painter, texts().language(), labelColour);
}

std::vector<FolderEntry> CSkinsDialog::listSkinsRoot() const {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(widen(root_ + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({narrow(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

std::vector<std::string> CSkinsDialog::dropDownItems(std::size_t) { return skinNames(listSkinsRoot()); }

void CSkinsDialog::dropDownChosen(std::size_t, const DropDownList::Choice& choice) {
  choice_.name = choice.text;
  if (nameText_) SetWindowTextW(nameText_, widen(choice.text).c_str());
  if (const auto folder = findSkinFolder(listSkinsRoot(), choice.text)) choice_.folder = root_ + "/" + *folder;
}

bool CSkinsDialog::contentClick(int x, int y) {
  if (!regionOf(skinsDialogSurface().regions, ColourBox).rect.contains(x, y)) return false;
  chooseColour();
  return true;
}

void CSkinsDialog::chooseColour() {
  static COLORREF customColours[16] = {};
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = window();
  chooser.lpCustColors = customColours;
  if (!ChooseColorW(&chooser)) return;
  choice_.red = GetRValue(chooser.rgbResult);
  choice_.green = GetGValue(chooser.rgbResult);
  choice_.blue = GetBValue(chooser.rgbResult);
  if (colourBrush_) deleteCountedGdi(colourBrush_);
  colourBrush_ = nullptr;
  if (colourBox_) InvalidateRect(colourBox_, nullptr, TRUE);
}

std::optional<HBRUSH> CSkinsDialog::contentControlColour(UINT message, HDC dc, HWND control) {
  if (message != WM_CTLCOLORSTATIC || !colourBox_ || control != colourBox_) return std::nullopt;
  if (!colourBrush_) colourBrush_ = countedGdi(CreateSolidBrush(RGB(choice_.red, choice_.green, choice_.blue)));
  SetBkMode(dc, TRANSPARENT);
  return colourBrush_;
}

}  // namespace ombrisk
