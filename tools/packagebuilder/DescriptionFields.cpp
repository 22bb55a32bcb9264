#include "DescriptionFields.h"

#include <limits>

void appendBigEndian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t descriptionWord(const nlohmann::json& object, const char* name, std::int64_t fallback,
                              const char* subject)
{
    if (!object.contains(name))
        return static_cast<std::uint32_t>(fallback);
    const nlohmann::json& value = object.at(name);
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= std::numeric_limits<std::uint32_t>::max())
        return value.get<std::uint32_t>();
    if (value.is_number_integer() && value.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
        value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::uint32_t>(value.get<std::int32_t>());
    throw PackageDescriptionError(std::string(subject) + "\"" + name + "\" must be a 32-bit number or a boolean");
}
