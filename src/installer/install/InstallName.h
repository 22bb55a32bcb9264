#pragma once
// The path a packed file is installed to, made from the name in its record.
#include <string>

// Replaces each variable name in the text by its value, looking a name up as a folder name,
// then a built-in name, then a user variable. Inserted values are final: a value that itself
// holds "<...>" (a user name, a registry value) is not expanded again.
std::string expandNameOnce(const std::string& text);

// Every doubled backslash from position 2 on becomes one, so a leading network prefix stays.
std::string collapseDoubleBackslashes(const std::string& path);

// True when a component of the path is "." or "..": such a path could leave the folder that
// its record names.
bool hasRelativeComponent(const std::string& path);

// The folder of a path: everything before its last backslash or slash (empty without one).
std::string folderOf(const std::string& path);
