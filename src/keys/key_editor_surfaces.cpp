#include "keys/key_editor_surfaces.h"

#include <array>

namespace ombrisk {
namespace {

using Row = SurfaceRegion<KeyEditorControl>;
using Child = ChildControl<KeyEditorControl>;
using enum KeyEditorControl;

// The combination and fire-key dialogs share a layout: a drop-down box at the top (its text
// stops short of the arrow) and two edits under it.
constexpr Region kUpperBox{49, 69, 132, 85};
constexpr Region kUpperText{49, 69, 117, 85};
constexpr Region kFirstEdit{50, 120, 131, 134};
constexpr Region kSecondEdit{50, 170, 131, 184};
// The multimedia and Windows dialogs: one drop-down box.
constexpr Region kChoiceBox{42, 128, 151, 144};
constexpr Region kChoiceText{42, 128, 136, 144};

constexpr std::array<Child, 1> kSingleChildren = {{{KeyNameText, 0, 502, {73, 128, 151, 144}, ChildKind::Static}}};

constexpr std::array<Row, 1> kComboRows = {{{ModifierBox, 0, kUpperBox}}};
constexpr std::array<Child, 4> kComboChildren = {{
    {ModifierText, 0, 512, kUpperText, ChildKind::Static},
    {ModifierList, 0, 515, {49, 87, 132, 227}, ChildKind::List},
    {Key1Edit, 0, 516, kFirstEdit, ChildKind::Edit},
    {Key2Edit, 0, 517, kSecondEdit, ChildKind::Edit},
}};

constexpr std::array<Row, 1> kFireRows = {{{FireKeyBox, 0, kUpperBox}}};
constexpr std::array<Child, 4> kFireChildren = {{
    {FireKeyText, 0, 572, kUpperText, ChildKind::Static},
    {FireKeyList, 0, 573, {49, 87, 132, 257}, ChildKind::List},
    {SpeedEdit, 0, 574, kFirstEdit, ChildKind::Edit},
    {TimesEdit, 0, 575, kSecondEdit, ChildKind::Edit},
}};

constexpr std::array<Child, 1> kDelayChildren = {{{DelayEdit, 0, 600, {74, 129, 150, 143}, ChildKind::Edit}}};

constexpr std::array<Row, 1> kChoiceRows = {{{ChoiceBox, 0, kChoiceBox}}};
constexpr std::array<Child, 2> kMediaChildren = {{
    {ChoiceText, 0, 552, kChoiceText, ChildKind::Static},
    {ChoiceList, 0, 553, {42, 146, 151, 266}, ChildKind::List},
}};
constexpr std::array<Child, 2> kWindowsChildren = {{
    {ChoiceText, 0, 532, kChoiceText, ChildKind::Static},
    {ChoiceList, 0, 533, {42, 146, 151, 306}, ChildKind::List},
}};

}  // namespace

KeyEditorSurface singleKeySurface() { return {{}, kSingleChildren}; }
KeyEditorSurface comboKeySurface() { return {kComboRows, kComboChildren}; }
KeyEditorSurface fireKeySurface() { return {kFireRows, kFireChildren}; }
KeyEditorSurface delayTimeSurface() { return {{}, kDelayChildren}; }
KeyEditorSurface mediaKeySurface() { return {kChoiceRows, kMediaChildren}; }
KeyEditorSurface windowsKeySurface() { return {kChoiceRows, kWindowsChildren}; }

}  // namespace ombrisk
