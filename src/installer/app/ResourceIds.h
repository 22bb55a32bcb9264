#pragma once
// Identifiers of the installer program's own resources.
#define IDD_BUSY_NOTE 18
#define IDC_BUSY_NOTE_TEXT 1058
// The next-volume dialog; its procedure lies in the wizard library (NextVolumeDialog).
#define IDD_NEXT_VOLUME 138
#define IDC_NEXT_VOLUME_BROWSE 4
#define IDC_NEXT_VOLUME_PROMPT 1066
