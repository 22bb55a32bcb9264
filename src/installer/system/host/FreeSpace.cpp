#include "installer/system/FreeSpace.h"

#include <sys/statvfs.h>

// Native stand-in over statvfs: the root is any path on the file system to measure.

std::uint64_t getFreeSpace(const char* root, int kind)
{
    if (const auto answer = overriddenFreeSpace(root, kind))
        return *answer;
    struct statvfs info{};
    if (!root || ::statvfs(root, &info) != 0)
        return 0;
    ExtendedFreeSpace space{};
    space.availableToCaller = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    space.totalBytes = static_cast<std::uint64_t>(info.f_blocks) * info.f_frsize;
    space.totalFree = static_cast<std::uint64_t>(info.f_bfree) * info.f_frsize;
    return freeSpaceFromExtended(space, kind);
}
