// The pointer settings' system calls: SystemParametersInfoW and GetDoubleClickTime. Each
// failing call shows its text in a message box with the caption "Warning"; the others
// still run.
#pragma once

#include <windows.h>

#include <vector>

#include "pages/pointer_settings.h"

namespace ombrisk {

void makePointerCalls(HWND owner, const std::vector<PointerCall>& calls);
SystemPointerReading readSystemPointer(HWND owner);
// The first time only (once per run): the system's pointer settings into the record.
void readSystemPointerOnce(HWND owner, SettingsRecord& record);

}  // namespace ombrisk
