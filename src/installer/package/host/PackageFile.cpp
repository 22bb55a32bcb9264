#include "installer/package/PackageSource.h"

#include <cstdio>

// Native stand-in of the installer file over stdio.

namespace {

class PackageFile final : public PackageSource {
public:
    PackageFile(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}
    ~PackageFile() override { std::fclose(file_); }
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    std::uint64_t size() const override { return size_; }

protected:
    bool readInside(std::uint64_t offset, void* buffer, std::uint32_t count) const override
    {
        if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
            return false;
        return std::fread(buffer, 1, count, file_) == count;
    }

private:
    std::FILE* file_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<PackageSource> openPackageFile(const char* path)
{
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return nullptr;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0) {
        std::fclose(file);
        return nullptr;
    }
    return std::make_unique<PackageFile>(file, static_cast<std::uint64_t>(size));
}
