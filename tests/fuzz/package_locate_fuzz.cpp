// Locating the package in an arbitrary file: no read outside it, no allocation larger than it.
#include "installer/core/PackageLocate.h"

#include <cstring>

namespace {

class MemorySource final : public PackageSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* buffer, std::uint32_t count) const override
    {
        if (offset > size_ || count > size_ - offset)
            return false;
        std::memcpy(buffer, data_ + offset, count);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteString header;
    const LocateResult result = locatePackageIn(MemorySource(data, size), header);
    if (result.code == kLocateOk && (header.length() > kMaxHeaderLength || header.length() > size))
        __builtin_trap();
    return 0;
}
