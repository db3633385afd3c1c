// The macro-key dialog run modally from its real template on the shipped skin: the macros of a
// record.ini with hundreds of sections, a choice, the repeat-mode ticks, and OK untouched.
#include <windows.h>

#include <gtest/gtest.h>

#include "macros/macro_dialog_win32.h"
#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "support/dialog_user_win32.h"
#include "support/temp_folder.h"

namespace ombrisk {
namespace {

using testing::DialogUser;

constexpr int kMacroText = 592, kMacroList = 593;

class MacroDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = skinState();
    skinState().folder = testing::utf8FromPath(testing::installFolder() / L"Skins" / L"Graphite");
    setInterfaceLanguage(Language::English);
  }
  void TearDown() override { skinState() = saved; }

  SkinState saved;
  ImageDecoderUse decoder;
  testing::TempFolder folder;
  std::string ini = folder.file("record.ini");
  std::unique_ptr<ProfileStore> store = makePlatformProfileStore();
};

TEST_F(MacroDialogTest, OffersTheFirstTwelveMacrosAndTakesAChoiceAndAMode) {
  // Hundreds of sections, the third with an absurdly long name.
  std::string text = "\xEF\xBB\xBF";
  for (int i = 0; i < 300; ++i)
    text += "[" + (i == 2 ? std::string(900, 'W') : "Macro " + std::to_string(i)) + "]\r\nItemCount=0\r\n";
  testing::writeBytes(ini, std::vector<std::uint8_t>(text.begin(), text.end()));
  struct Seen {
    LRESULT count = 0;
    std::wstring shown;
    bool tickRedrawn = false;
  } seen;
  CMacroDialog dialog(*store, ini);
  DialogUser user([&](DialogUser& u) {
    u.click(60, 135);
    seen.count = SendMessageW(u.child(kMacroList), LB_GETCOUNT, 0, 0);
    u.clickItem(kMacroList, 4);
    seen.shown = u.text(kMacroText);
    const auto secondBox = [&] { return u.capture(220, 128, 236, 144).pixels; };
    const auto before = secondBox();
    u.click(228, 136);  // the second repeat mode
    seen.tickRedrawn = secondBox() != before;
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(seen.count, 12);
  EXPECT_EQ(seen.shown, L"Macro 4");
  EXPECT_TRUE(seen.tickRedrawn);
  EXPECT_EQ(dialog.result().index, 4);
  EXPECT_EQ(dialog.result().name, "Macro 4");
  EXPECT_EQ(dialog.result().repeatMode, 2);
}

TEST_F(MacroDialogTest, OkWithoutAChoiceGivesTheFirstMacroAndModeOne) {
  CMacroDialog dialog(*store, ini);  // no record.ini at all
  DialogUser user([&](DialogUser& u) {
    u.click(60, 135);  // an empty list
    u.click(60, 135);
    u.clickOk();
  });
  EXPECT_EQ(dialog.run(nullptr), IDOK);
  user.join();
  EXPECT_EQ(dialog.result().index, 0);
  EXPECT_EQ(dialog.result().name, "");
  EXPECT_EQ(dialog.result().repeatMode, 1);
}

}  // namespace
}  // namespace ombrisk
