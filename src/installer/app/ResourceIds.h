#pragma once
// Identifiers of the installer program's own resources.
// The progress note: shown while the installer works without a page.
#define IDD_BUSY_NOTE 18
#define IDC_BUSY_NOTE_TEXT 1058
// The next-volume dialog; its procedure lies in the wizard library (NextVolumeDialog).
#define IDD_NEXT_VOLUME 138
#define IDC_NEXT_VOLUME_BROWSE 4
#define IDC_NEXT_VOLUME_PROMPT 1066
// The About box, the text input and the program icon; their procedures lie in the wizard
// library (InstallerDialogs).
#define IDD_ABOUT 114
#define IDD_INPUT 154
#define IDC_INPUT_EDIT 1066
#define IDC_INPUT_PROMPT 1097
#define IDI_PROGRAM 2000
