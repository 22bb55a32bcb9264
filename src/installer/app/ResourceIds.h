#pragma once
// Identifiers of the installer program's own resources.
#define IDD_BUSY_NOTE 18
#define IDC_BUSY_NOTE_TEXT 1058
