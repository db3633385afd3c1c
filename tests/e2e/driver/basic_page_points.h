// Where a user presses the Basic page's controls: their centres in client pixels (stages and
// levels count from 1, report-rate positions 1..4 = 125, 250, 500, 1000), and the page's
// child windows by control identifier.
#pragma once

#include <windows.h>

namespace ombrisk::e2e::basic_page {

inline POINT ratePosition(int p) { return {542 + 72 * (p - 1) + 35, 209}; }
inline POINT stageSwitch(int s) { return {554 + 27 * (s - 1) + 8, 549}; }
inline POINT swatch(int s) { return {554 + 27 * (s - 1) + 8, 531}; }
inline POINT cell(int s, int level) { return {554 + 27 * (s - 1) + 8, 508 - 18 * (level - 1)}; }
inline POINT keyBox(int k) { return {350, 209 + 23 * (k - 1)}; }
inline constexpr POINT kOk{614, 633}, kApply{718, 633}, kCancel{822, 633}, kKeyDefault{359, 559};
inline constexpr POINT kModeBox{800, 337}, kParameterBox{800, 367}, kEffectBox{800, 397};

// The lighting value boxes and their lists.
inline constexpr int kModeValue = 80, kParameterValue = 81, kEffectValue = 82;
inline constexpr int kModeList = 63, kParameterList = 64, kEffectList = 65;

}  // namespace ombrisk::e2e::basic_page
