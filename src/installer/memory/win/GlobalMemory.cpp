#include "installer/memory/GlobalMemory.h"

#include <windows.h>

// A movable block is locked once after every allocation or resize and stays locked until the
// next resize or free, so its address is stable in between.

void* globalMemoryAllocate(std::size_t bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes ? bytes : 1);
    if (block && !GlobalLock(block)) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

void* globalMemoryResize(void* handle, std::size_t bytes)
{
    HGLOBAL block = static_cast<HGLOBAL>(handle);
    GlobalUnlock(block);
    HGLOBAL resized = GlobalReAlloc(block, bytes ? bytes : 1, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!resized) {
        GlobalLock(block);
        return nullptr;
    }
    if (!GlobalLock(resized))
        return nullptr;
    return resized;
}

void* globalMemoryAddress(void* handle)
{
    // The lock count is already 1; locking again and unlocking returns the address and keeps it.
    HGLOBAL block = static_cast<HGLOBAL>(handle);
    void* address = GlobalLock(block);
    GlobalUnlock(block);
    return address;
}

void globalMemoryFree(void* handle)
{
    HGLOBAL block = static_cast<HGLOBAL>(handle);
    GlobalUnlock(block);
    GlobalFree(block);
}
