#include "installer/system/SystemError.h"

#include <windows.h>

std::uint32_t lastSystemError()
{
    return GetLastError();
}

ByteString systemErrorMessage(std::uint32_t code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    ByteString message;
    if (length && text)
        message.assignCStr(text);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.at(message.length() - 1) == '\n' || message.at(message.length() - 1) == '\r'))
        message.erase(message.length() - 1, 1);
    return message;
}
