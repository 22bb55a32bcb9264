#include "installer/system/SystemError.h"

#include <cerrno>
#include <cstring>

// Native stand-in: the C library's error number and text.

std::uint32_t lastSystemError()
{
    return static_cast<std::uint32_t>(errno);
}

ByteString systemErrorMessage(std::uint32_t code)
{
    return ByteString(std::strerror(static_cast<int>(code)));
}
