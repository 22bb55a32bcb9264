#pragma once
// The four functions through which the wizard, the installation engine and the plug-in library
// read and set installer variables. The plug-in calls them through its callback table, so they
// use the stdcall convention on Windows. Names are written with their angle brackets and
// matched byte for byte.
#include <cstdint>

#if defined(_WIN32)
#define INSTALLER_CALLBACK __stdcall
#else
#define INSTALLER_CALLBACK
#endif

// Sets a list entry's text (its value becomes known), else one of the built-in names, else
// appends a new text variable. The special names take effect first. Returns 1.
int INSTALLER_CALLBACK setVariableText(const char* name, const char* text);
// A list entry's text (evaluated first when needed), else a built-in name's value, else null.
// The text stays owned by the installer.
const char* INSTALLER_CALLBACK getVariableText(const char* name);
// Sets a list entry's number and its decimal text, keeping its state: an entry whose source has
// not been read yet still reads it on its next use. Else appends a new integer variable.
// Built-in names are not recognised here. Returns 1.
int INSTALLER_CALLBACK setVariableInt(const char* name, std::int32_t value);
// A list entry's number (evaluated first when needed), or -1 for an unknown name.
std::int32_t INSTALLER_CALLBACK getVariableInt(const char* name);

// Side effects of the special names ("<IT_Type>", "<UseAllUsersStartMenu>" and the three finish
// options) when they are set.
void applySpecialVariable(const char* name, const char* text, std::int32_t value);
