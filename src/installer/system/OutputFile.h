#pragma once
// A file created (or emptied) for writing, closed when the object goes. Paths are in the ANSI
// code page on Windows.
#include <cstdint>
#include <memory>

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // True when all count bytes were written.
    virtual bool write(const void* bytes, std::uint32_t count) = 0;
};

// Null when the file cannot be created.
std::unique_ptr<OutputFile> createOutputFile(const char* path);
