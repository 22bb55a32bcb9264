#pragma once
// A stream over a growable block of memory. Growth is amortised.
// The position may lie past the end (Read there gives 0, a Write fills the gap with zeros);
// seeking before the start raises EStreamError and keeps the position. A size that cannot be
// held raises EStreamError "Out of memory while expanding memory stream".
#include "base/TStream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    // Keeps the first bytes; new bytes are zero; the position is kept unless it lies past the end.
    void SetSize(std::int64_t NewSize) override;

    std::uint8_t* Memory() { return FData.data(); }
    const std::uint8_t* Memory() const { return FData.data(); }
    void Clear();

    // Whole-file load and save; failures raise EFOpenError / EFCreateError naming the file.
    // Loading takes all of the source from its start and leaves the position at 0; saving writes
    // all of the memory, whatever the position, at the target's position.
    void LoadFromStream(TStream& Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToStream(TStream& Stream);
    void SaveToFile(const std::string& FileName);

private:
    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};

} // namespace kv
