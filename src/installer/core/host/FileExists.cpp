#include "installer/core/FileSystem.h"

#include "installer/core/CStrings.h"

#include <sys/stat.h>

// Native stand-in for the existence test of files and folders.
bool fileExists(const char* path)
{
    struct stat info {};
    return !isNullOrEmpty(path) && stat(path, &info) == 0;
}
