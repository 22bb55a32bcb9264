#pragma once
// The libraries' way to end the installer in order (clean-up, rollback, exit code "not installed"):
// the program installs its shutdown; until then, and in tests, the default ends the process with
// the exit code for "not installed". A test handler may throw instead of ending the process.

using EndInstallerHandler = void (*)();

[[noreturn]] void endInstaller();
// Returns the handler installed before; null restores the default.
EndInstallerHandler setEndInstallerHandler(EndInstallerHandler handler);
