#include "installer/install/IniAssignment.h"

std::optional<IniAssignment> splitIniAssignment(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return IniAssignment{text.substr(0, equals), text.substr(equals + 1)};
}
