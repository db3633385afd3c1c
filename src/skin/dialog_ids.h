/* Dialog template identifiers of the editor dialogs, shared by the resource script and the
   code. Plain preprocessor definitions: the resource compiler reads this file too. */
#pragma once

#define IDD_SINGLE_KEY 701
#define IDD_WINDOWS_KEY 702
#define IDD_MEDIA_KEY 703
#define IDD_FIRE_KEY 704
#define IDD_MACRO_KEY 705
#define IDD_COMBO_KEY 706
#define IDD_DELAY_TIME 707
#define IDD_SKINS 708
