// Reads arbitrary bytes as a MIDI file. A file that reads must write back to bytes that read
// into the same song: writing those again gives the same bytes.
#include "base/Exceptions.h"
#include "midi/kvMidiFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

std::string WrittenAgain(kv::TMemoryStream& stream)
{
    kv::TKVMidiFile song(nullptr);
    song.ReadFile(stream);
    kv::TMemoryStream written;
    song.WriteFile(written);
    return std::string(reinterpret_cast<const char*>(written.Memory()), static_cast<std::size_t>(written.Size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kv::TMemoryStream input;
    input.WriteBuffer(data, static_cast<std::int64_t>(size));
    std::string first;
    try {
        first = WrittenAgain(input);
    } catch (const kv::Exception&) {
        return 0; // a file that is not a song is refused with a message
    }
    kv::TMemoryStream copy;
    copy.WriteBuffer(first.data(), static_cast<std::int64_t>(first.size()));
    if (WrittenAgain(copy) != first) __builtin_trap();
    return 0;
}
