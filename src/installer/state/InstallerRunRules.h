#pragma once
// The rules of an installer run that need no system service: the command-line switches, the
// exit code, the answers of message boxes in silent mode and their caption.
#include "installer/state/InstallerState.h"

#include <cstdint>

// Sets silent, revert and acceptLicense for "/SILENT", "/REVERT" and "/ACCEPTLICENSE" found
// anywhere in an upper-cased copy of the command line (so "/silent" and "/SILENTLY" count).
void readCommandLineFlags(const char* commandLine, InstallerFlags& flags);

// 1 when the product was installed, 0 when not; "/REVERT" inverts it.
int installerExitCode(bool installed, bool revert);

// The answer a message box of this type gives without being shown (MB_* style bits; the low
// four bits select the buttons): OK for OK and OK/Cancel, Yes for Yes/No(/Cancel), Cancel for
// Retry/Cancel, Ignore for Abort/Retry/Ignore, else Yes. Values are the system's ID* codes.
int silentMessageBoxAnswer(std::uint32_t type);

extern const char* const kDefaultMessageBoxCaption;
// The given caption, else the setup title, else the background window's title, else the
// default caption.
const char* messageBoxCaption(const char* caption);
