#pragma once
// The run time's byte stream.
#include <cstdint>

namespace kv {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to Count bytes; returns the number read (0 at the end and for Count <= 0).
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    // Writes Count bytes; returns the number written.
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t NewSize) = 0;

    // Read exactly Count bytes or raise EReadError "Stream read error".
    void ReadBuffer(void* Buffer, std::int64_t Count);
    // Write exactly Count bytes or raise EWriteError "Stream write error".
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    // Copies Count bytes from Source (all of it from its start when Count is 0 or less); returns
    // the count. Raises EReadError when Source holds fewer bytes.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

} // namespace kv
