#pragma once
// A stream over a growable block of memory. Growth is amortised.
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
    void LoadFromStream(TStream& Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToStream(TStream& Stream);
    void SaveToFile(const std::string& FileName);

private:
    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};

} // namespace kv
