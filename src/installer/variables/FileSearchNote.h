#pragma once
// The note shown while a variable's file search runs. The installer program shows its own
// dialog over the current window; without one (the default, and in tests) nothing is shown.
using FileSearchNoteOpen = void* (*)(const char* utf8Text);
using FileSearchNoteClose = void (*)(void* note);

struct FileSearchNote {
    FileSearchNoteOpen open = nullptr;
    FileSearchNoteClose close = nullptr;
};

// Returns the note used before.
FileSearchNote setFileSearchNote(FileSearchNote note);
const FileSearchNote& fileSearchNote();
