// Resource identifiers of Ombrisk.exe, shared by the resource script and the code.
#pragma once

#define IDD_MAIN_WINDOW 700
#include "skin/dialog_ids.h"
#define IDI_APPLICATION_ICON 710
// The event list's context menu on the Advanced page and its one item, "Delete".
#define IDR_MACRO_LIST_MENU 180
#define ID_MACRO_LIST_DELETE 32772
