#pragma once
// An installer file held in memory, for tests and the fuzz target.
#include "installer/package/PackageSource.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

class MemoryPackageSource : public PackageSource {
public:
    explicit MemoryPackageSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const override { return bytes_.size(); }

protected:
    bool readInside(std::uint64_t offset, void* buffer, std::uint32_t count) const override
    {
        if (count != 0)
            std::memcpy(buffer, bytes_.data() + offset, count);
        return true;
    }

private:
    std::vector<std::uint8_t> bytes_;
};
