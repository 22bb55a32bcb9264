#include "installer/system/DynamicLibrary.h"

// The package's libraries are Windows programs: the native build loads none.
LibraryModule loadLibraryFile(const char*)
{
    return nullptr;
}

LibraryExport findLibraryExport(LibraryModule, const char*)
{
    return nullptr;
}

void freeLibraryModule(LibraryModule) {}
