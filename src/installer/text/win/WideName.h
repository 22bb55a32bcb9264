#pragma once
// The one place where the installer's UTF-8 names meet the system's wide functions:
// CreateFileW(WideName(path), ...) for what goes in, utf8FromWide(buffer) for what comes back.
#include "installer/text/ByteString.h"

#include <string>

class WideName {
public:
    // A null text stays null, for the optional arguments of the system's functions.
    WideName(const char* utf8);
    WideName(const std::string& utf8);
    WideName(const ByteString& utf8);

    const wchar_t* get() const { return null_ ? nullptr : text_.c_str(); }
    operator const wchar_t*() const { return get(); }
    // Writable, for the functions that may change the text they are given (a command line).
    wchar_t* data() { return null_ ? nullptr : text_.data(); }
    // The size in UTF-16 units with the terminating NUL (registry string values).
    std::size_t sizeWithNul() const { return text_.size() + 1; }

private:
    bool null_ = false;
    std::wstring text_;
};

// UTF-8 of a name the system gives back (units -1: up to the NUL).
ByteString utf8FromWide(const wchar_t* wide, int units = -1);

// Copies a name with its NUL into a fixed buffer; a name that does not fit is never cut (a cut
// name names another file): the buffer is emptied and the result is false.
bool copyName(const ByteString& name, char* buffer, std::size_t size);
