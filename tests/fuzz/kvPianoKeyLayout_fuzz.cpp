// Layout files come from anywhere: any bytes are either a layout or an EKeyLayoutError, and a
// layout that was read writes back to the same rows.
#include "piano/kvPianoKeyLayout.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const kv::TKeyLayout layout = kv::KeyLayoutFromBytes(data, size, "fuzz.kbl");
        const std::vector<std::uint8_t> bytes = kv::KeyLayoutToBytes(layout);
        if (std::memcmp(bytes.data() + 16, data + 16, bytes.size() - 16) != 0) __builtin_trap();
        for (const kv::TKeyLayoutRec& row : layout) (void)kv::KeyNameOf(row);
    } catch (const kv::EKeyLayoutError&) {
    }
    return 0;
}
