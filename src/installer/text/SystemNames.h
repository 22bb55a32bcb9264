#pragma once
// Names handed to the system (files, folders, registry keys and values, command lines) and names
// the system hands back. Inside the installer they are UTF-8; the system's wide functions take
// UTF-16. Unlike the window-text decoder this one carries every character, four-byte sequences
// (emoji, rare CJK) included, as surrogate pairs, so that a name arrives on disk as it was written.
// A byte that does not start a well-formed sequence is taken as the Latin-1 character of the same
// value, as the window-text decoder does; the conversion never fails and never empties a name.
#include "installer/text/ByteString.h"

#include <cstddef>
#include <string>

std::u16string nameToUtf16(const char* utf8, std::size_t length);
std::u16string nameToUtf16(const char* utf8);
// Surrogate pairs become four-byte sequences; a lone surrogate is encoded on its own.
ByteString nameFromUtf16(const char16_t* wide, std::size_t units);
ByteString nameFromUtf16(const char16_t* wide);
