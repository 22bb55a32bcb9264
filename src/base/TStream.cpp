#include "base/TStream.h"

#include "base/Exceptions.h"
#include "base/ResStr.h"

#include <algorithm>
#include <vector>

namespace kv {

std::int64_t TStream::Size()
{
    const std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(ResStr("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(ResStr("Stream write error"));
}

// A Count of 0 (or below, as later versions of the library do) copies all of Source from its
// start. Source must hold Count bytes, or EReadError is raised.
std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count)
{
    if (Count <= 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    constexpr std::int64_t MaxBufferSize = 0xF000;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min(Count, MaxBufferSize)));
    std::int64_t left = Count;
    while (left > 0) {
        const std::int64_t chunk = std::min(left, MaxBufferSize);
        Source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return Count;
}

} // namespace kv
