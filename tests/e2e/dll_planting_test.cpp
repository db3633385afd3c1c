// A DLL planted beside the program under the name of a system DLL is never loaded: not at
// start, not when the pages, the skin dialog and the colour dialog bring in the system DLLs
// they need. Wine is told to prefer such a DLL to its own, as Windows prefers a DLL in the
// program's folder to one in the system folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/with_mouse.h"

namespace ombrisk::e2e {
namespace {

namespace fs = std::filesystem;

// System DLLs that are not KnownDLLs and that the program loads: at their first call
// (cmake/system_dlls.cmake), and through the system's own DLLs (themes, window composition).
// Wine's loader resolves the imports of its own DLLs searching the program's folder first
// (version, windowscodecs), where Windows takes those of KnownDLLs from the system folder;
// such names would stop the program here whatever it does, so they are not planted.
constexpr const wchar_t* kPlantedNames[] = {L"comctl32", L"comdlg32", L"gdiplus", L"hid",
                                            L"msimg32",  L"winmm",    L"uxtheme", L"dwmapi"};

constexpr int kSkinColourBox = 561;

// Makes Wine prefer a native DLL to its own for Ombrisk.exe while it lives (the per-program
// DLL overrides of the prefix's registry; WINEDLLOVERRIDES reaches only programs started from
// the Unix side).
class PreferNativeDlls {
 public:
  PreferNativeDlls() {
    for (const wchar_t* name : kPlantedNames)
      RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, REG_SZ, L"native,builtin", sizeof L"native,builtin");
  }
  ~PreferNativeDlls() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Ombrisk.exe\\DllOverrides";
};

fs::path plantedMarkerDll() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path() / L"planted_marker.dll";
}

class DllPlanting : public WithMouse {};

TEST_F(DllPlanting, NoDllBesideTheProgramIsLoadedInPlaceOfASystemOne) {
  ASSERT_TRUE(fs::exists(plantedMarkerDll())) << "planted_marker.dll is not built";
  for (const wchar_t* name : kPlantedNames)
    fs::copy_file(plantedMarkerDll(), install.folder() / (std::wstring(name) + L".dll"));
  const auto markers = [&] {
    std::string loaded;
    for (const wchar_t* name : kPlantedNames)
      if (fs::exists(install.folder() / (std::wstring(name) + L".dll.loaded"))) loaded += utf8(name) + " ";
    return loaded;
  };
  const PreferNativeDlls preferPlanted;
  start();
  EXPECT_EQ(markers(), "") << "loaded at start";
  show();
  ASSERT_TRUE(program->settle());
  program->clickClient(80, 74);  // the Advanced page
  ASSERT_TRUE(program->settle());
  program->clickClient(34, 74);  // the Basic page
  ASSERT_TRUE(program->settle());

  program->clickClient(710, 14);  // Skins
  HWND skins = waitForDialogWithControl(program->process().id(), kSkinColourBox, 5s);
  ASSERT_TRUE(skins) << "no skin dialog";
  RECT box{};
  GetWindowRect(GetDlgItem(skins, kSkinColourBox), &box);
  clickScreen({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  const auto colours = waitForColourDialog(program->process().id());
  ASSERT_TRUE(colours) << "no colour dialog; running: " << program->process().running() << "; loaded: " << markers();
  PostMessageW(*colours, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(*colours); }));
  PostMessageW(skins, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(skins); }));

  EXPECT_TRUE(program->process().running());
  EXPECT_EQ(markers(), "") << "loaded by the pages or the dialogs";
}

}  // namespace
}  // namespace ombrisk::e2e
