#include "installer/text/ByteString.h"
#include "installer/text/win/FileHandle.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

int ByteString::loadFromFile(const char* path, std::uint32_t offset, std::uint32_t length)
{
    setLength(0);
    if (!path)
        return -3;
    FileHandle file(CreateFileW(WideName(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return -3;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) <= offset)
        return 0;
    const std::uint64_t available = static_cast<std::uint64_t>(size.QuadPart) - offset;
    const std::uint32_t wanted = (length == 0 || length > available)
        ? static_cast<std::uint32_t>(available > 0xFFFFFFFFu ? 0xFFFFFFFFu : available) : length;
    LARGE_INTEGER start{};
    start.QuadPart = offset;
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN))
        return -1;
    std::uint8_t* target = grow(wanted);
    DWORD got = 0;
    if (!ReadFile(file.get(), target, wanted, &got, nullptr))
        got = 0;
    setLength(got);
    return got == wanted ? 1 : -1;
}

int ByteString::saveToFile(const char* path) const
{
    if (!path)
        return -3;
    const DWORD oldAttributes = GetFileAttributesW(WideName(path));
    const bool existed = oldAttributes != INVALID_FILE_ATTRIBUTES;
    if (existed && (oldAttributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(WideName(path), oldAttributes & ~FILE_ATTRIBUTE_READONLY);
    DWORD createAttributes = FILE_ATTRIBUTE_NORMAL;
    if (existed && (oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE)))
        createAttributes = oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    DWORD written = 0;
    {
        FileHandle file(CreateFileW(WideName(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, createAttributes, nullptr));
        if (!file.valid()) {
            if (existed)
                SetFileAttributesW(WideName(path), oldAttributes);
            return -3;
        }
        if (length_ && !WriteFile(file.get(), data(), length_, &written, nullptr))
            written = 0;
    }
    if (written != length_)
        return -2;
    if (existed)
        SetFileAttributesW(WideName(path), oldAttributes);
    return 1;
}
