#include "installer/memory/GlobalMemory.h"

#include <cstdlib>

// The native stand-in: the handle is the address of a heap block.

void* globalMemoryAllocate(std::size_t bytes)
{
    return std::calloc(bytes ? bytes : 1, 1);
}

void* globalMemoryResize(void* handle, std::size_t bytes)
{
    return std::realloc(handle, bytes ? bytes : 1);
}

void* globalMemoryAddress(void* handle)
{
    return handle;
}

void globalMemoryFree(void* handle)
{
    std::free(handle);
}
