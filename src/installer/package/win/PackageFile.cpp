#include "installer/package/PackageSource.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

namespace {

class PackageFile final : public PackageSource {
public:
    PackageFile(HANDLE handle, std::uint64_t size) : handle_(handle), size_(size) {}
    ~PackageFile() override { CloseHandle(handle_); }
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    std::uint64_t size() const override { return size_; }

protected:
    bool readInside(std::uint64_t offset, void* buffer, std::uint32_t count) const override
    {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN))
            return false;
        DWORD got = 0;
        return ReadFile(handle_, buffer, count, &got, nullptr) && got == count;
    }

private:
    HANDLE handle_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<PackageSource> openPackageFile(const char* path)
{
    if (!path)
        return nullptr;
    HANDLE handle = CreateFileW(WideName(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<PackageFile>(handle, static_cast<std::uint64_t>(size.QuadPart));
}
