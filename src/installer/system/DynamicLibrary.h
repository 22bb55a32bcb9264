#pragma once
// Loading a library file and finding its exports by name. Only Windows loads the package's
// libraries; the native build's stand-in loads nothing.
#include <cstdint>

using LibraryModule = void*;
using LibraryExport = void*;

// Null when the file cannot be loaded.
LibraryModule loadLibraryFile(const char* path);
// Null when the library has no export of that name.
LibraryExport findLibraryExport(LibraryModule module, const char* name);
void freeLibraryModule(LibraryModule module);
