#pragma once
// Computing the folder values at start-up (Windows).
#include "installer/text/ByteString.h"

// Looks the special folder (a shell CSIDL number) up and stores it as setFolderVariable does;
// an unknown folder stores an empty text.
void setSpecialFolderVariable(int number, ByteString& value, ByteString* shortValue = nullptr);
// Computes every folder value, then appends "<DS2000>" and "<IsAdmin>" to the variable list.
// Start-up calls it once, after the table of contents is read, and then presetVariableValues.
void initFolderVariables();
