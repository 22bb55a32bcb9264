#pragma once
// The uninstall log's lists: every text ends with its NUL and the list with one more NUL.
#include "installer/text/ByteString.h"

#include <string>
#include <vector>

// Appends text to list (the list's final NUL moves behind the new text).
void addListEntry(const char* text, ByteString& list);

// The texts of list in the order they were added.
std::vector<std::string> listEntries(const ByteString& list);

// Appends a line to the backup text, CR LF before it when the text is not empty.
void addBackupLine(const ByteString& line);
