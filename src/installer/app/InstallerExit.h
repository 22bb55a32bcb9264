#pragma once
// The ways out of the installer.

// Deletes the local copy of the installer made at start-up, when there is one.
void deleteLocalCopy();
// Releases and deletes what start-up created; returns 1.
int cleanupAtExit(bool unloadPlugin);
// The orderly exit from anywhere: clean-up, then the process ends with "not installed".
[[noreturn]] void shutdownInstaller(bool unloadPlugin);
// An error box (the text for lack of memory when text is null), then shutdownInstaller.
[[noreturn]] void abortWithMessage(const char* text);
// Leaves start-up before anything was installed: deletes the temporary files made so far and
// the local copy, ends COM and gives the exit code for "not installed".
int leaveStartUp();
