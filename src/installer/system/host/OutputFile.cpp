#include "installer/system/OutputFile.h"

#include <cstdio>

// Native stand-in over stdio.

namespace {

class StdioOutputFile final : public OutputFile {
public:
    explicit StdioOutputFile(std::FILE* file) : file_(file) {}
    ~StdioOutputFile() override { std::fclose(file_); }
    StdioOutputFile(const StdioOutputFile&) = delete;
    StdioOutputFile& operator=(const StdioOutputFile&) = delete;

    bool write(const void* bytes, std::uint32_t count) override
    {
        return count == 0 || (std::fwrite(bytes, 1, count, file_) == count && std::fflush(file_) == 0);
    }

private:
    std::FILE* file_;
};

} // namespace

std::unique_ptr<OutputFile> createOutputFile(const char* path)
{
    std::FILE* file = path ? std::fopen(path, "wb") : nullptr;
    if (!file)
        return nullptr;
    return std::make_unique<StdioOutputFile>(file);
}
