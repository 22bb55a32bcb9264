#pragma once
// A file's version resource.
#include "installer/text/ByteString.h"

#include <cstdint>

// 1 with the fixed file version; -1 no version information, -3 it cannot be read, -4 no fixed block.
int getFileVersion(const char* path, std::uint32_t* high, std::uint32_t* low);
// The first translation (low word language, high word code page) and its FileDescription.
// 1 a translation exists, -4 none, -3 cannot be read, -1 no version information. The
// description is emptied when the string is missing.
int getFileDescription(const char* path, std::uint32_t* translation, ByteString* description);
// "\StringFileInfo\" + language + code page (four upper-case hex digits each) + "\FileDescription".
ByteString fileDescriptionQuery(std::uint32_t translation);
