#pragma once
// The ways out of the installer.

// Deletes the local copy of the installer made at start-up, when there is one.
void deleteLocalCopy();
// Releases and deletes what start-up created; returns 1.
int cleanupAtExit(bool unloadPlugin);
// The orderly exit from anywhere: clean-up, then the process ends with "not installed".
[[noreturn]] void shutdownInstaller(bool unloadPlugin);
// The end for an exception that no part of the installer takes (the runtime's terminate handler
// and the entry point call it): instead of the runtime's abort, with its exit code 3 and neither
// rollback nor clean-up, the installer ends as shutdownInstaller does. Entered a second time (the
// shutdown itself failed), it only ends the process.
[[noreturn]] void endAfterUncaughtException() noexcept;
// An error box (the text for lack of memory when text is null), then shutdownInstaller.
[[noreturn]] void abortWithMessage(const char* text);
// Leaves start-up before anything was installed: deletes the temporary files made so far and
// the local copy, ends COM and gives the exit code for "not installed".
int leaveStartUp();
