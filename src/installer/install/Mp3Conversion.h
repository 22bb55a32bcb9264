#pragma once
// The MP3 phase: every installed MP3 file listed by the file phase is decoded by the package's
// music library into a WAV file beside it, the WAV logged and the MP3 deleted. The installation
// page's Cancel holds the conversion while it asks, and stops the library when the user leaves.
#include <functional>

// False when the library cannot start, a file cannot be converted or the user cancelled.
bool convertMp3Files();

// Cancel while the installation runs: asks through confirmExit with the conversion held. True
// when the user leaves: then the players are stopped, the WAV being written is logged (so the
// rollback removes it) and the library is unloaded.
bool confirmCancelDuringInstallation(const std::function<bool()>& confirmExit);
