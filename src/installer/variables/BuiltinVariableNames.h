#pragma once
// The built-in names that getVariableText and setVariableText know besides the variable list:
// folder values, the installation folder, the program-group name, the user information, the
// uninstaller and the resource folder.

// The value's text, or null when name is no built-in name. "<UninstallerName>" gives the
// computed uninstaller path in a buffer that the next such call overwrites.
const char* builtinVariableText(const char* name);
// Assigns the value; false when name is no built-in name that can be set.
bool setBuiltinVariableText(const char* name, const char* text);
