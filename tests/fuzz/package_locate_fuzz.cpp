// Locating the package in an arbitrary file: no read outside it, no allocation larger than it.
#include "installer/package/PackageLocate.h"
#include "installer/package/MemoryPackageSource.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteString header;
    const LocateResult result = locatePackageIn(MemoryPackageSource(std::vector<std::uint8_t>(data, data + size)), header);
    if (result.code == kLocateOk && (header.length() > kMaxHeaderLength || header.length() > size))
        __builtin_trap();
    return 0;
}
