// Arbitrary bytes as an uninstaller's file and as plain uninstall data: the uninstaller's reader
// either parses them or throws its own error, reading nothing outside them.
#include "uninstaller/UninstallDataReader.h"

#include <cstdint>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        uninstall_reader::parseUninstallerFile(bytes);
    } catch (const std::runtime_error&) {
    }
    try {
        uninstall_reader::parsePlain(bytes);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
