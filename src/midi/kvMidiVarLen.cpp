#include "midi/kvMidiVarLen.h"

namespace kv {

void WriteVarLen(std::string& Out, std::uint32_t Value)
{
    char groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<char>(Value & 0x7F);
        Value >>= 7;
    } while (Value != 0);
    while (count > 1) Out += static_cast<char>(groups[--count] | 0x80);
    Out += groups[0];
}

} // namespace kv
