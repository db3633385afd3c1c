// Resource identifiers of Ombrisk.exe, shared by the resource script and the code.
#pragma once

#define IDD_MAIN_WINDOW 700
#define IDD_SINGLE_KEY 701
#define IDD_WINDOWS_KEY 702
#define IDD_MEDIA_KEY 703
#define IDD_FIRE_KEY 704
#define IDD_MACRO_KEY 705
#define IDD_COMBO_KEY 706
#define IDD_DELAY_TIME 707
#define IDD_SKINS 708
#define IDI_APPLICATION_ICON 710
