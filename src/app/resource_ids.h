// Resource identifiers of Ombrisk.exe, shared by the resource script and the code.
#pragma once

#define IDD_MAIN_WINDOW 700
#include "skin/dialog_ids.h"
#define IDI_APPLICATION_ICON 710
