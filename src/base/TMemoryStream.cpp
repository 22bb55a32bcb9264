#include "base/TMemoryStream.h"

#include "base/Exceptions.h"
#include "base/ResStr.h"
#include "base/TFileStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace kv {

namespace {

[[noreturn]] void OutOfMemory()
{
    throw EStreamError(ResStr("Out of memory while expanding memory stream"));
}

} // namespace

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count)
{
    const auto size = Size();
    if (Count <= 0 || FPosition >= size) return 0;
    const std::int64_t n = std::min(Count, size - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0) return 0;
    if (Count > std::numeric_limits<std::int64_t>::max() - FPosition) OutOfMemory();
    const std::int64_t end = FPosition + Count;
    if (end > Size()) SetSize(end); // zeros between the old end and a position beyond it
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

// Positions past the end are allowed (a later Write fills the gap with zeros); a position before
// the start raises EStreamError and leaves the position as it was.
std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    std::int64_t base = 0;
    if (Origin == TSeekOrigin::soCurrent) base = FPosition;
    if (Origin == TSeekOrigin::soEnd) base = Size();
    if ((Offset > 0 && base > std::numeric_limits<std::int64_t>::max() - Offset) || base + Offset < 0)
        throw EStreamError(ResStr("Invalid stream position"));
    FPosition = base + Offset;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    if (NewSize < 0) throw EStreamError(ResStr("Invalid stream size"));
    // On a 32-bit system a 64-bit size may not fit in size_t.
    if (static_cast<std::uint64_t>(NewSize) > FData.max_size()) OutOfMemory();
    try {
        FData.resize(static_cast<std::size_t>(NewSize)); // geometric growth: amortised
    } catch (const std::bad_alloc&) {
        OutOfMemory();
    } catch (const std::length_error&) {
        OutOfMemory();
    }
    if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    std::vector<std::uint8_t>().swap(FData);
    FPosition = 0;
}

// Loads all of Stream (from its start); the position is 0 afterwards.
void TMemoryStream::LoadFromStream(TStream& Stream)
{
    Stream.SetPosition(0);
    const std::int64_t count = Stream.Size();
    SetSize(count);
    FPosition = 0;
    if (count != 0) Stream.ReadBuffer(FData.data(), count);
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    TFileStream file(FileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
}

// Writes all of the memory (whatever the position) at Stream's position.
void TMemoryStream::SaveToStream(TStream& Stream)
{
    if (!FData.empty()) Stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& FileName)
{
    TFileStream file(FileName, TFileMode::fmCreate);
    SaveToStream(file);
    file.Flush(); // a full disk raises here, not silently in the destructor
}

} // namespace kv
