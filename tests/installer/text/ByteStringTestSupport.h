#pragma once
#include "installer/text/ByteString.h"

#include <string>

inline ByteString bytes(const std::string& s)
{
    return ByteString(reinterpret_cast<const std::uint8_t*>(s.data()), static_cast<std::uint32_t>(s.size()));
}

inline std::string str(const ByteString& b)
{
    return std::string(reinterpret_cast<const char*>(b.data()), b.length());
}
