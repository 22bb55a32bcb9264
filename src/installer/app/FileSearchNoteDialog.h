#pragma once
// The note the installer shows while a variable's file search runs: its busy-note dialog with
// the given text, over the main window.
void* openFileSearchNoteDialog(const char* utf8Text);
void closeFileSearchNoteDialog(void* note);
