#include "installer/system/win/VersionResource.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

// 1 with the block read into data, or the negative result code.
int readVersionInfo(const char* path, std::vector<std::uint8_t>& data)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(WideName(path), &ignored);
    if (size == 0)
        return -1;
    data.assign(size, 0);
    if (!GetFileVersionInfoW(WideName(path), 0, size, data.data()))
        return -3;
    return 1;
}

} // namespace

int getFileVersion(const char* path, std::uint32_t* high, std::uint32_t* low)
{
    std::vector<std::uint8_t> data;
    const int read = readVersionInfo(path, data);
    if (read < 0)
        return read;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed || length < sizeof(VS_FIXEDFILEINFO))
        return -4;
    if (high)
        *high = fixed->dwFileVersionMS;
    if (low)
        *low = fixed->dwFileVersionLS;
    return 1;
}

ByteString fileDescriptionQuery(std::uint32_t translation)
{
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\FileDescription",
                  static_cast<unsigned>(translation & 0xFFFF), static_cast<unsigned>(translation >> 16));
    return ByteString(query);
}

int getFileDescription(const char* path, std::uint32_t* translation, ByteString* description)
{
    std::vector<std::uint8_t> data;
    const int read = readVersionInfo(path, data);
    if (read < 0)
        return read;
    const std::uint16_t* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(const_cast<std::uint16_t**>(&translations)), &length) ||
        !translations || length == 0 || length % 4 != 0)
        return -4;
    const std::uint32_t first = translations[0] | (static_cast<std::uint32_t>(translations[1]) << 16);
    if (translation)
        *translation = first;
    if (description) {
        ByteString query = fileDescriptionQuery(first);
        char* text = nullptr;
        UINT textLength = 0;
        if (VerQueryValueA(data.data(), query.cStr(), reinterpret_cast<void**>(&text), &textLength) && text)
            description->assignCStr(text);
        else
            description->assignCStr("");
    }
    return 1;
}
