#pragma once
// Storing the folder values and preparing the variable list once they are known.
#include "installer/text/ByteString.h"

#include <cstdint>

// Stores path without one trailing backslash into value and, when shortValue is given, the
// system's short form of it into shortValue (empty when the path does not exist).
void setFolderVariable(const char* path, ByteString& value, ByteString* shortValue = nullptr);

// Appends "<DS2000>" (whole days since 1 January 2000, UTC) and "<IsAdmin>" (1 or 0), both
// integer variables whose value is known.
void appendStartupVariables(std::int64_t minutesSince2000, bool isAdmin);

// After the folder values: expands the folder names in the default and source texts of every
// list entry, and gives each known entry without a value text its default text (and its
// decimal value).
void presetVariableValues();
