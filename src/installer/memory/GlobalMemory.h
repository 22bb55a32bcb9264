#pragma once
// The system's movable global memory, as MovableBlock uses it. On Windows a GlobalAlloc block
// (GMEM_MOVEABLE | GMEM_ZEROINIT) kept locked between resizes; in the native build an
// equivalent heap block. Each function returns null on failure and never ends the program.
#include <cstddef>

void* globalMemoryAllocate(std::size_t bytes);
// Resizes a block returned by globalMemoryAllocate; on failure the old block stays valid.
void* globalMemoryResize(void* handle, std::size_t bytes);
// The block's current address (the lock is held until the next resize or free).
void* globalMemoryAddress(void* handle);
void globalMemoryFree(void* handle);
