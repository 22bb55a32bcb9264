#include "installer/system/FreeSpace.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

std::uint64_t getFreeSpace(const char* root, int kind)
{
    if (const auto answer = overriddenFreeSpace(root, kind))
        return *answer;
    HMODULE kernel = LoadLibraryW(L"kernel32.dll");
    if (!kernel)
        return 0;
    using ExtendedFunction = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    auto extended = reinterpret_cast<ExtendedFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
    std::uint64_t result = 0;
    if (extended) {
        ULARGE_INTEGER available{}, total{}, free{};
        if (extended(WideName(root), &available, &total, &free))
            result = freeSpaceFromExtended({available.QuadPart, total.QuadPart, free.QuadPart}, kind);
    } else {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (GetDiskFreeSpaceW(WideName(root), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
            result = freeSpaceFromClassic({sectorsPerCluster, bytesPerSector, freeClusters, totalClusters}, kind);
    }
    FreeLibrary(kernel);
    return result;
}
