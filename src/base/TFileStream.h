#pragma once
// A stream over a file. File names are UTF-8. Seeking past the end is allowed (a later Write
// fills the gap with zeros); seeking before the start raises EStreamError.
#include "base/TStream.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace kv {

enum class TFileMode { fmOpenRead, fmOpenWrite, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
public:
    // fmCreate creates or truncates; the others open an existing file. Raises EFOpenError
    // ("Cannot open file \"<name>\". <reason>") or EFCreateError ("Cannot create file ...").
    TFileStream(const std::string& FileName, TFileMode Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    // Truncates or extends (with zeros); the position is kept unless it lies past the new end.
    void SetSize(std::int64_t NewSize) override;
    // Hands buffered bytes to the system; raises EWriteError "Stream write error" when that fails
    // (a full disk shows here or at the end, not in Write). The destructor flushes silently.
    void Flush();
    const std::string& FileName() const { return FFileName; }

private:
    enum class TLastOp { None, Read, Write }; // stdio needs a seek between reading and writing
    void SeekTo(std::int64_t Position);
    std::int64_t Tell();
    [[noreturn]] void RaiseError(const char* What);

    std::string FFileName;
    std::FILE* FHandle = nullptr;
    TLastOp FLastOp = TLastOp::None;
};

} // namespace kv
