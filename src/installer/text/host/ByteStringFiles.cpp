#include "installer/text/ByteString.h"

#include <cstdio>
#include <memory>

// Native stand-in for the whole-file operations: the same result codes over stdio. File
// attributes do not exist here; the Windows build keeps them.

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}

int ByteString::loadFromFile(const char* path, std::uint32_t offset, std::uint32_t length)
{
    setLength(0);
    File file(path ? std::fopen(path, "rb") : nullptr);
    if (!file)
        return -3;
    std::fseek(file.get(), 0, SEEK_END);
    const long size = std::ftell(file.get());
    if (size < 0 || static_cast<std::uint64_t>(offset) >= static_cast<std::uint64_t>(size))
        return 0;
    const std::uint64_t available = static_cast<std::uint64_t>(size) - offset;
    const std::uint32_t wanted = (length == 0 || length > available) ? static_cast<std::uint32_t>(available) : length;
    std::fseek(file.get(), static_cast<long>(offset), SEEK_SET);
    const std::size_t got = std::fread(grow(wanted), 1, wanted, file.get());
    setLength(static_cast<std::uint32_t>(got));
    return got == wanted ? 1 : -1;
}

int ByteString::saveToFile(const char* path) const
{
    File file(path ? std::fopen(path, "wb") : nullptr);
    if (!file)
        return -3;
    const std::size_t written = length_ ? std::fwrite(data(), 1, length_, file.get()) : 0;
    if (std::fclose(file.release()) != 0 || written != length_)
        return -2;
    return 1;
}
