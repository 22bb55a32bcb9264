#include "installer/system/FileSystem.h"

#include <filesystem>
#include <system_error>

// Native stand-ins for the file operations the portable code uses; attributes do not exist here.

bool fileExists(const char* path)
{
    std::error_code error;
    return path && *path && std::filesystem::exists(path, error);
}

bool forceDelete(const char* path)
{
    std::error_code error;
    std::filesystem::remove(path, error);
    return !fileExists(path);
}
