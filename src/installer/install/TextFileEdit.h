#pragma once
// The changes a text-file entry makes to a file's content. Lines end with CR LF.
#include <cstdint>
#include <optional>
#include <string>

enum TextFileMode : std::int32_t {
    kTextInsertAtStart = 0,
    kTextAppendLine = 1,
    kTextAppendToFoundLine = 2,
    kTextRemoveFoundLine = 3,
    kTextInsertAfterFoundLine = 4,
    kTextInsertBeforeFoundLine = 5,
    kTextRemoveLinesStartingWith = 6,
    kTextReplaceAll = 7,
};

// The new content, or nothing when the file stays as it is (the search text was not found, the
// mode is unknown, or a mode that searches was given an empty search text). Modes 2 to 5 look
// for the search text followed by CR LF, ignoring case; modes 6 and 7 match exact bytes.
std::optional<std::string> editedText(std::int32_t mode, const std::string& content, const std::string& search,
                                      const std::string& line);
