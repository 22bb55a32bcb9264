#include "installer/system/OutputFile.h"

#include "installer/text/win/WideName.h"

#include <windows.h>

namespace {

class Win32OutputFile final : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE handle) : handle_(handle) {}
    ~Win32OutputFile() override { CloseHandle(handle_); }
    Win32OutputFile(const Win32OutputFile&) = delete;
    Win32OutputFile& operator=(const Win32OutputFile&) = delete;

    bool write(const void* bytes, std::uint32_t count) override
    {
        DWORD written = 0;
        return count == 0 || (WriteFile(handle_, bytes, count, &written, nullptr) && written == count);
    }

private:
    HANDLE handle_;
};

} // namespace

std::unique_ptr<OutputFile> createOutputFile(const char* path)
{
    if (!path)
        return nullptr;
    HANDLE handle = CreateFileW(WideName(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32OutputFile>(handle);
}
