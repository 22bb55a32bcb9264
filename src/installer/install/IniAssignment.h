#pragma once
// An INI entry's assignment text: the key before the first "=", the value after it.
#include <optional>
#include <string>

struct IniAssignment {
    std::string key;
    std::string value;
};

// Nothing when the text holds no "=".
std::optional<IniAssignment> splitIniAssignment(const std::string& text);
