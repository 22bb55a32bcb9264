// A packed-file record read from arbitrary bytes: no read outside them, no allocation larger
// than they can hold, and a record that is accepted fits the bytes it came from.
#include "installer/package/FileRecord.h"
#include "installer/package/MemoryPackageSource.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemoryPackageSource source(std::vector<std::uint8_t>(data, data + size));
    FileRecord record;
    std::uint32_t conditionLength = 0;
    std::uint64_t dataOffset = 0;
    const int result = parseFileRecord(source, 0, 1, record, conditionLength, dataOffset);
    if (result == kFileRecordRead &&
        (dataOffset > size || record.endOffsets.empty() || record.endOffsets.front() > size ||
         record.endOffsets.front() < dataOffset || conditionLength > size))
        __builtin_trap();
    return 0;
}
