#pragma once
// Random read access to the installer file that carries the package. Every read says whether
// all of its bytes were there, so nothing beyond the end of the file is ever used.
#include <cstdint>
#include <memory>

class PackageSource {
public:
    virtual ~PackageSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly count bytes at offset; false when they are not all inside the file or
    // cannot be read.
    bool readAt(std::uint64_t offset, void* buffer, std::uint32_t count) const
    {
        if (offset > size() || count > size() - offset)
            return false;
        return readInside(offset, buffer, count);
    }

protected:
    // Reads a range that lies wholly inside the file.
    virtual bool readInside(std::uint64_t offset, void* buffer, std::uint32_t count) const = 0;
};

// The file at path opened for reading (the ANSI code page on Windows); null when it cannot be.
std::unique_ptr<PackageSource> openPackageFile(const char* path);
