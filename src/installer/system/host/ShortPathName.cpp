#include "installer/system/ShortPathName.h"

#include <filesystem>

// The native stand-in: file systems here have no short names; an existing path is its own.
ByteString shortPathName(const char* path)
{
    std::error_code error;
    if (!path || !*path || !std::filesystem::exists(path, error))
        return ByteString("");
    return ByteString(path);
}
