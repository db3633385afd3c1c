// The resources of the built Ombrisk.exe: dialog templates, icon and manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/ombrisk_driver.h"

namespace ombrisk::e2e {
namespace {

class ExecutableResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryExW((installSourceFolder() / L"Ombrisk.exe").c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module) << GetLastError();
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  const std::uint8_t* resource(LPCWSTR type, int id, DWORD* size = nullptr) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return nullptr;
    if (size) *size = SizeofResource(module, found);
    return static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
  }
  HMODULE module = nullptr;
};

// The fixed head of a DLGTEMPLATEEX.
#pragma pack(push, 1)
struct DialogExHead {
  WORD version, signature;
  DWORD helpId, exStyle, style;
  WORD items;
  short x, y, cx, cy;
};
#pragma pack(pop)

// The menu, class and title fields that follow the head (each 0, 0xFFFF + id, or a string).
const wchar_t* skipField(const wchar_t* at) {
  if (*at == 0) return at + 1;
  if (*at == 0xFFFF) return at + 2;
  return at + wcslen(at) + 1;
}

TEST_F(ExecutableResources, MainWindowTemplate) {
  const auto* head = reinterpret_cast<const DialogExHead*>(resource(RT_DIALOG, 700));
  ASSERT_TRUE(head);
  ASSERT_EQ(head->signature, 0xFFFF);
  EXPECT_EQ(head->cx, 450);
  EXPECT_EQ(head->cy, 325);
  EXPECT_EQ(head->items, 0);
  EXPECT_EQ(head->style & (WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | DS_CENTER | DS_SETFOREGROUND),
            static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | DS_CENTER | DS_SETFOREGROUND));
  EXPECT_EQ(head->style & (WS_CAPTION | WS_THICKFRAME), 0u) << "the window is borderless";
  EXPECT_EQ(head->exStyle & (WS_EX_APPWINDOW | WS_EX_ACCEPTFILES),
            static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES));
  const wchar_t* field = skipField(reinterpret_cast<const wchar_t*>(head + 1));  // menu
  EXPECT_STREQ(field, L"TarvokQ77GMClass");
  field = skipField(field);  // class
  EXPECT_STREQ(field, L"");  // title
  field = skipField(field);
  EXPECT_EQ(field[0], 9);  // point size, then weight, italic, character set, face
  const auto* charset = reinterpret_cast<const BYTE*>(field + 2) + 1;
  EXPECT_EQ(*charset, GB2312_CHARSET);
  EXPECT_STREQ(reinterpret_cast<const wchar_t*>(field + 3), L"宋体");
}

TEST_F(ExecutableResources, EditorDialogTemplates) {
  for (int id = 701; id <= 708; ++id) {
    const auto* head = reinterpret_cast<const DialogExHead*>(resource(RT_DIALOG, id));
    ASSERT_TRUE(head) << id;
    EXPECT_EQ(head->cx, 200) << id;
    EXPECT_EQ(head->cy, 150) << id;
    EXPECT_EQ(head->style & (WS_POPUP | WS_BORDER | WS_CLIPCHILDREN),
              static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_CLIPCHILDREN)) << id;
    EXPECT_EQ(head->style & WS_CAPTION & ~WS_BORDER, 0u) << id << ": no caption bar";
    const wchar_t* field = skipField(skipField(skipField(reinterpret_cast<const wchar_t*>(head + 1))));
    EXPECT_EQ(field[0], 9) << id;
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(field + 3), L"宋体") << id;
  }
}

TEST_F(ExecutableResources, IconManifestAndVersion) {
  EXPECT_TRUE(resource(RT_GROUP_ICON, 710));
  DWORD size = 0;
  const auto* manifest = resource(RT_MANIFEST, 1, &size);
  ASSERT_TRUE(manifest);
  const std::string text(reinterpret_cast<const char*>(manifest), size);
  EXPECT_NE(text.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_TRUE(resource(RT_VERSION, 1));
}

}  // namespace
}  // namespace ombrisk::e2e
