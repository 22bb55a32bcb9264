#pragma once

// True for a null pointer or a text whose first byte is NUL.
inline bool isNullOrEmpty(const char* text)
{
    return !text || *text == '\0';
}
