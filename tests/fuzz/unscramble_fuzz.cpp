// Unscrambling of package blocks and uninstall data: any bytes, once or twice, must be handled
// without a fault, and whatever passes both checks must scramble and unscramble back to itself.
#include "installer/text/ByteString.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteString block(data, static_cast<std::uint32_t>(size));
    const bool outer = block.unscramble();
    const bool inner = block.unscramble();
    if (outer && inner) {
        ByteString copy = block;
        copy.scramble();
        copy.scramble();
        if (!copy.unscramble() || !copy.unscramble() || !copy.equals(block))
            __builtin_trap();
    }
    ByteString lines(data, static_cast<std::uint32_t>(size));
    ByteString line;
    for (std::int32_t pos = 0; lines.hasMore(pos);)
        lines.nextLine(&pos, line);
    return 0;
}
