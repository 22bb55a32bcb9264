// korvanel-uninstall: the uninstaller program that KorvanelSetup.exe carries. The installer
// appends the run's uninstall data to it; this small program only reads that data back: it
// writes "<its path>.log" with its command line and the size of the data it found, and exits
// with 1 ("removed") when the data is there, 0 when it is missing or cut short. It removes
// nothing.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The last four bytes (little-endian) give where the appended data begins; the data ends
// before them.
std::size_t appendedDataSize(const std::vector<char>& bytes)
{
    if (bytes.size() < 4)
        return 0;
    std::uint32_t offset = 0;
    for (int i = 3; i >= 0; --i)
        offset = offset << 8 | static_cast<std::uint8_t>(bytes[bytes.size() - 4 + static_cast<std::size_t>(i)]);
    if (offset == 0 || offset > bytes.size() - 4)
        return 0;
    return bytes.size() - 4 - offset;
}

} // namespace

int main()
{
    try {
        char path[MAX_PATH] = {};
        if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0)
            return 0;
        std::ifstream self(path, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(self)), std::istreambuf_iterator<char>());
        const std::size_t dataSize = appendedDataSize(bytes);
        std::ofstream log(std::string(path) + ".log", std::ios::binary);
        log << GetCommandLineA() << "\n" << dataSize << "\n";
        return dataSize > 0 ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
