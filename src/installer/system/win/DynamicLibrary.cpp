#include "installer/system/DynamicLibrary.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

LibraryModule loadLibraryFile(const char* path)
{
    return LoadLibraryW(WideName(path));
}

LibraryExport findLibraryExport(LibraryModule module, const char* name)
{
    return reinterpret_cast<LibraryExport>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void freeLibraryModule(LibraryModule module)
{
    FreeLibrary(static_cast<HMODULE>(module));
}
