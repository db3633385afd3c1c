// The skinned frame of the editor dialogs, run modally from an in-memory template.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "skin/png_win32.h"
#include "skin/skin_files.h"
#include "skin/skinned_dialog_win32.h"
#include "support/temp_folder.h"
#include "util/wide_win32.h"
#include "wine/skin/png_writer.h"

namespace ombrisk {
namespace {

using testing::Rgba;

constexpr Rgba kBack{20, 20, 20, 255}, kNormal{0, 0, 200, 255}, kOver{200, 0, 0, 255},
    kCloseNormal{0, 200, 0, 255}, kCloseOver{200, 200, 0, 255};

// A dialog template like 701..708: pop-up, thin border, no caption, no controls.
struct DialogTemplate {
  DLGTEMPLATE header{WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_VISIBLE | DS_CENTER, 0, 0, 0, 0, 200, 150};
  WORD menu = 0, windowClass = 0, title = 0;
};

// Drives the frame from inside its own modal loop and notes what it saw.
class ProbeDialog final : public CSkinnedDialog {
 public:
  using CSkinnedDialog::CSkinnedDialog;
  static constexpr UINT kRunScript = WM_APP + 1;

  SIZE windowSize{};
  COLORREF okAfterHover = 0, cancelAfterHover = 0, okAfterCancel = 0, closeAfterClose = 0,
           okAfterCloseThenOk = 0, closeAfterCloseThenOk = 0, okAfterLeave = 0, closeAfterLeave = 0;
  bool openAfterMissClick = false;

 protected:
  void initContent() override { PostMessageW(window(), kRunScript, 0, 0); }

  INT_PTR contentMessage(UINT message, WPARAM, LPARAM) override {
    if (message != kRunScript) return FALSE;
    RECT rect{};
    GetWindowRect(window(), &rect);
    windowSize = {rect.right - rect.left, rect.bottom - rect.top};
    hover(200, 260);
    okAfterHover = pixel(170, 255);
    hover(300, 260);
    cancelAfterHover = pixel(280, 255);
    okAfterCancel = pixel(170, 255);
    move(100, 100);
    hover(360, 10);
    closeAfterClose = pixel(355, 8);
    hover(200, 260);
    okAfterCloseThenOk = pixel(170, 255);
    closeAfterCloseThenOk = pixel(355, 8);
    move(100, 100);
    okAfterLeave = pixel(170, 255);
    closeAfterLeave = pixel(355, 8);
    click(160, 260);  // just left of OK: nothing
    openAfterMissClick = IsWindow(window()) != FALSE;
    click(200, 260);  // OK
    return TRUE;
  }

 private:
  void hover(int x, int y) { SendMessageW(window(), WM_MOUSEHOVER, 0, MAKELPARAM(x, y)); }
  void move(int x, int y) { SendMessageW(window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  void click(int x, int y) { SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
  // A pixel of the dialog's canvas (what every repaint copies to the window).
  COLORREF pixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, background());
    const COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
  }
};

COLORREF rgb(Rgba c) { return RGB(c.r, c.g, c.b); }

class SkinnedDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto put = [&](const char* name, const std::vector<std::uint8_t>& bytes) {
      testing::writeFileBytes(folder.path() / name, bytes);
    };
    put("skins.png", testing::solidPng(400, 300, kBack, false));
    put("button-normal.png", testing::solidPng(105, 21, kNormal));
    put("button-over.png", testing::solidPng(105, 21, kOver));
    put("button-close-normal.png", testing::solidPng(18, 18, kCloseNormal));
    put("button-close-over.png", testing::solidPng(18, 18, kCloseOver));
    saved = skinState();
    skinState().folder = testing::utf8FromPath(folder.path());
  }
  void TearDown() override { skinState() = saved; }

  testing::TempFolder folder;
  SkinState saved;
  DialogTemplate dialogTemplate;
  ImageDecoderUse decoder;  // as the application holds it for its run
};

TEST_F(SkinnedDialogTest, FrameButtonsHoverAndEnd) {
  ProbeDialog dialog(EditorDialog::Skins);
  const INT_PTR result = dialog.runModal(&dialogTemplate.header, nullptr);
  EXPECT_EQ(result, IDOK);
  // The window takes the background image's size.
  EXPECT_EQ(dialog.windowSize.cx, 400);
  EXPECT_EQ(dialog.windowSize.cy, 300);
  EXPECT_EQ(dialog.okAfterHover, rgb(kOver));
  // From OK straight onto Cancel: Cancel over, OK normal again.
  EXPECT_EQ(dialog.cancelAfterHover, rgb(kOver));
  EXPECT_EQ(dialog.okAfterCancel, rgb(kNormal));
  EXPECT_EQ(dialog.closeAfterClose, rgb(kCloseOver));
  // From close straight onto OK: both over until the pointer leaves all three.
  EXPECT_EQ(dialog.okAfterCloseThenOk, rgb(kOver));
  EXPECT_EQ(dialog.closeAfterCloseThenOk, rgb(kCloseOver));
  EXPECT_EQ(dialog.okAfterLeave, rgb(kNormal));
  EXPECT_EQ(dialog.closeAfterLeave, rgb(kCloseNormal));
  EXPECT_TRUE(dialog.openAfterMissClick);
}

// Ends the dialog through its close button once it is up.
class ClosingDialog final : public CSkinnedDialog {
 public:
  using CSkinnedDialog::CSkinnedDialog;
 protected:
  void initContent() override { PostMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(360, 10)); }
};

TEST_F(SkinnedDialogTest, CloseAndCancelEndWithTwo) {
  ClosingDialog dialog(EditorDialog::Skins);
  EXPECT_EQ(dialog.runModal(&dialogTemplate.header, nullptr), IDCANCEL);
}

TEST_F(SkinnedDialogTest, MissingBackgroundReportsAndOpensWithoutSkin) {
  std::filesystem::remove(folder.path() / "skins.png");
  std::wstring caption, text;
  std::pair<std::wstring*, std::wstring*> found{&caption, &text};
  std::thread watcher([&] {
    // The message box of this process: read it and press OK.
    for (int attempt = 0; attempt < 200 && caption.empty(); ++attempt) {
      Sleep(50);
      EnumWindows(
          [](HWND window, LPARAM found) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t className[32] = {};
            GetClassNameW(window, className, 32);
            if (process != GetCurrentProcessId() || std::wstring(className) != L"#32770" ||
                !GetDlgItem(window, 0xFFFF))
              return TRUE;
            auto* out = reinterpret_cast<std::pair<std::wstring*, std::wstring*>*>(found);
            wchar_t buffer[256] = {};
            GetWindowTextW(window, buffer, 256);
            *out->first = buffer;
            GetDlgItemTextW(window, 0xFFFF, buffer, 256);
            *out->second = buffer;
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&found));
    }
  });
  class Unskinned final : public CSkinnedDialog {
   public:
    using CSkinnedDialog::CSkinnedDialog;
    bool wasSkinned = true;
   protected:
    INT_PTR contentMessage(UINT message, WPARAM, LPARAM) override {
      if (message == WM_APP + 2) {
        wasSkinned = skinned();
        endDialog(IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
  } dialog(EditorDialog::Skins);
  // Once the message box is answered the dialog runs on without skin; end it from a timer.
  std::thread ender([&] {
    for (int attempt = 0; attempt < 200 && !dialog.window(); ++attempt) Sleep(50);
    while (caption.empty()) Sleep(20);
    Sleep(200);
    PostMessageW(dialog.window(), WM_APP + 2, 0, 0);
  });
  dialog.runModal(&dialogTemplate.header, nullptr);
  watcher.join();
  ender.join();
  EXPECT_EQ(caption, L"Skins Dialog Load background image failed!!!");
  EXPECT_EQ(text, L"error");
  EXPECT_FALSE(dialog.wasSkinned);
}

}  // namespace
}  // namespace ombrisk

namespace ombrisk {
namespace {

// A dialog with one drop-down box of twenty items, as the skin dialog has.
class ListDialog final : public CSkinnedDialog {
 public:
  using CSkinnedDialog::CSkinnedDialog;
  int chosen = -1;
  std::string chosenText;
  LRESULT topAfterWheelDown = -1, topAfterWheelUp = -1;
  bool listClosedByOutsideClick = false;

 protected:
  void initContent() override {
    addDropDown({562, {42, 128, 151, 144}, {42, 146, 151, 266}});
    PostMessageW(window(), WM_APP + 3, 0, 0);
  }
  std::vector<std::string> dropDownItems(std::size_t) override {
    std::vector<std::string> items;
    for (int i = 0; i < 20; ++i) items.push_back("item " + std::to_string(i));
    return items;
  }
  void dropDownChosen(std::size_t, const DropDownList::Choice& choice) override {
    chosen = choice.index;
    chosenText = choice.text;
  }
  INT_PTR contentMessage(UINT message, WPARAM, LPARAM) override {
    if (message != WM_APP + 3) return FALSE;
    click(50, 135);  // opens the list
    HWND list = GetDlgItem(window(), 562);
    SendMessageW(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    topAfterWheelDown = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    SendMessageW(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    topAfterWheelUp = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    click(300, 100);  // elsewhere: closes without a choice
    listClosedByOutsideClick = !IsWindow(list);
    click(50, 135);  // open again and choose item 4
    list = GetDlgItem(window(), 562);
    SendMessageW(list, LB_SETCURSEL, 4, 0);
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(562, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    click(300, 260);  // Cancel
    return TRUE;
  }

 private:
  void click(int x, int y) { SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
};

TEST_F(SkinnedDialogTest, DropDownBoxOpensScrollsClosesAndChooses) {
  ListDialog dialog(EditorDialog::Skins);
  EXPECT_EQ(dialog.runModal(&dialogTemplate.header, nullptr), IDCANCEL);
  EXPECT_EQ(dialog.topAfterWheelDown, 3);
  EXPECT_EQ(dialog.topAfterWheelUp, 0);
  EXPECT_TRUE(dialog.listClosedByOutsideClick);
  EXPECT_EQ(dialog.chosen, 4);
  EXPECT_EQ(dialog.chosenText, "item 4");
}

}  // namespace
}  // namespace ombrisk
