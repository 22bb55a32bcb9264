// The UTF-8 decoder over any bytes and any byte limit: the measuring pass and the writing pass
// agree, the output buffer sized by the measure is never overrun, and what decodes without a
// Latin-1 fallback encodes back to the same bytes.
#include "installer/text/Utf8.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int maxBytes = data[0] == 0xFF ? -1 : data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const int measured = utf8Decode(text.c_str(), maxBytes, nullptr);
    std::vector<char16_t> out(measured > 0 ? static_cast<std::size_t>(measured) : 1);
    const int written = utf8Decode(text.c_str(), maxBytes, out.data());
    if (written != measured || (written > 0 && out[static_cast<std::size_t>(written) - 1] != 0) || (written == 0 && out[0] != 0))
        __builtin_trap();
    const auto wide = utf8ToWide(text.c_str(), maxBytes);
    if (!wide || (written > 0 && wide->size() != static_cast<std::size_t>(written) - 1))
        __builtin_trap();
    if (written > 0) {
        const auto back = wideToUtf8(wide->c_str());
        if (!back)
            __builtin_trap();
        // Without fallback characters the encoding gives the input back.
        bool anyHighUnitBelow0x100 = false;
        for (char16_t u : *wide)
            anyHighUnitBelow0x100 = anyHighUnitBelow0x100 || (u >= 0x80 && u < 0x100);
        const std::size_t consumed = maxBytes < 0 ? std::string(text.c_str()).size()
                                                  : std::string(text.c_str()).substr(0, static_cast<std::size_t>(maxBytes)).size();
        if (!anyHighUnitBelow0x100 && std::string(reinterpret_cast<const char*>(back->data()), back->length()) != text.substr(0, consumed))
            __builtin_trap();
    }
    return 0;
}
