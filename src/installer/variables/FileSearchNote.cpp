#include "installer/variables/FileSearchNote.h"

#include <utility>

namespace {
FileSearchNote currentNote;
}

FileSearchNote setFileSearchNote(FileSearchNote note)
{
    return std::exchange(currentNote, note);
}

const FileSearchNote& fileSearchNote()
{
    return currentNote;
}
