// Names from a package through the conversion to the system's UTF-16 and back: never empty for a
// non-empty name, never longer than the input, and what comes back converts to the same UTF-16.
#include "installer/text/SystemNames.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::u16string wide = nameToUtf16(text.data(), text.size());
    if (wide.size() > text.size() || (!text.empty() && wide.empty()))
        __builtin_trap();
    ByteString back = nameFromUtf16(wide.data(), wide.size());
    if (nameToUtf16(reinterpret_cast<const char*>(back.data()), back.length()) != wide)
        __builtin_trap();
    return 0;
}
