#include "installer/package/FileRecord.h"

#include "installer/package/KeptPackageFile.h"
#include "installer/package/PackageTableReader.h"
#include "installer/package/VolumeState.h"
#include "installer/text/PermuteBytes.h"

#include <array>

namespace {

// [length][left][operator][length][right] with empty texts.
constexpr std::uint32_t kMinComparisonSize = 12;

std::uint32_t le32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t le64(const std::uint8_t* p)
{
    return le32(p) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
}

void decodeFixedPart(const std::uint8_t* b, FileRecord& record)
{
    record.componentIndex = le32(b);
    record.installTypeMask = le32(b + 4);
    record.flags = le32(b + 8);
    record.fileFlags = le32(b + 12);
    record.lastWriteTime = le64(b + 16);
    record.creationTime = le64(b + 24);
    record.versionMost = le32(b + 32);
    record.versionLeast = le32(b + 36);
    record.versionLanguage = static_cast<std::uint16_t>(b[40] | (b[41] << 8));
    record.nameLength = le32(b + 44);
    record.volumeCount = le32(b + 48);
    record.storedSize = le32(b + 52);
    record.registrationPriority = static_cast<std::int32_t>(le32(b + 56));
}

bool readCountedText(PackageTableReader& reader, ByteString& text)
{
    std::uint32_t length = 0;
    return reader.readLE32(length) && reader.readBytes(length, text);
}

// The condition part after the fixed record; length receives its size in bytes.
bool readCondition(PackageTableReader& reader, std::uint32_t osFlags, ConditionPtr& condition, std::uint32_t& length)
{
    std::uint32_t count = 0;
    if (!reader.readLE32(count) || !reader.canHold(count, kMinComparisonSize))
        return false;
    auto record = std::make_unique<ConditionRecord>();
    record->osFlags = osFlags;
    record->comparisons.resize(count);
    std::uint64_t bytes = 4;
    for (ConditionComparison& comparison : record->comparisons) {
        std::uint32_t op = 0;
        if (!readCountedText(reader, comparison.left) || !reader.readLE32(op) ||
            !readCountedText(reader, comparison.right))
            return false;
        comparison.op = static_cast<std::int32_t>(op);
        bytes += kMinComparisonSize + comparison.left.length() + comparison.right.length();
    }
    if (bytes > 0xFFFFFFFFu)
        return false;
    length = static_cast<std::uint32_t>(bytes);
    condition = std::move(record);
    return true;
}

// The member must lie where its end offsets say: after the record in the first volume and
// inside that file, in at most the volumes that are left, and not larger than they hold.
bool membersFit(const FileRecord& record, std::uint64_t dataOffset, std::uint64_t fileSize, std::int32_t currentVolume)
{
    const auto& ends = record.endOffsets;
    if (ends.empty() || ends.front() < dataOffset || ends.front() > fileSize)
        return false;
    if (static_cast<std::int64_t>(currentVolume) + static_cast<std::int64_t>(ends.size()) - 1 > kLastVolumeNumber)
        return false;
    std::uint64_t room = ends.front() - dataOffset;
    for (std::size_t i = 1; i < ends.size(); ++i)
        room += ends[i];
    return record.storedSize <= room;
}

} // namespace

int parseFileRecord(const PackageSource& file, std::uint64_t position, std::int32_t currentVolume,
                    FileRecord& record, std::uint32_t& conditionLength, std::uint64_t& dataOffset)
{
    record = FileRecord();
    conditionLength = 0;
    dataOffset = 0;
    std::array<std::uint8_t, kFileRecordSize> fixed{};
    if (!file.readAt(position, fixed.data(), kFileRecordSize))
        return kFileRecordDamaged;
    FileRecord read;
    decodeFixedPart(fixed.data(), read);

    PackageTableReader reader(file, position + kFileRecordSize);
    std::uint32_t conditionBytes = 0;
    const std::uint32_t osFlags = le32(fixed.data() + 60);
    if (osFlags != 0 && !readCondition(reader, osFlags, read.condition, conditionBytes))
        return kFileRecordDamaged;
    if (!reader.readBytes(read.nameLength, read.name) || !reader.canHold(read.volumeCount, 4))
        return kFileRecordDamaged;
    read.endOffsets.resize(read.volumeCount);
    for (auto& end : read.endOffsets)
        if (!reader.readLE32(end))
            return kFileRecordDamaged;

    const std::uint64_t memberStart = position + kFileRecordSize + conditionBytes + read.nameLength +
                                      4ull * read.volumeCount;
    if (!membersFit(read, memberStart, file.size(), currentVolume))
        return kFileRecordDamaged;

    permuteBytes(read.name);
    const std::int32_t nul = read.name.findChar(0);
    if (nul >= 0)
        read.name.erase(static_cast<std::uint32_t>(nul), read.name.length() - static_cast<std::uint32_t>(nul));
    record = std::move(read);
    conditionLength = conditionBytes;
    dataOffset = memberStart;
    return kFileRecordRead;
}

int readFileRecord(FileRecord& record, std::uint32_t& conditionLength)
{
    VolumeState& state = gVolumeState;
    const auto file = openVolumeFile(currentVolumeFile());
    if (!file)
        return kFileRecordNotOpened;
    std::uint64_t dataOffset = 0;
    const int result = parseFileRecord(*file, state.position, state.currentVolume, record, conditionLength, dataOffset);
    if (result != kFileRecordRead) {
        // Nothing of this record is known: a skip stays where the record begins.
        state.volumeCount = 0;
        state.endOffsets.clear();
        return result;
    }
    state.firstVolume = state.currentVolume;
    state.volumeCount = static_cast<std::int32_t>(record.endOffsets.size());
    state.endOffsets = record.endOffsets;
    state.position = dataOffset;
    return kFileRecordRead;
}
