// Packed files: records read in order with their conditions, names and end offsets, members
// decoded or copied across volume files, members skipped, missing volumes, and records whose
// counts and lengths do not fit the file.
#include "installer/package/FileRecord.h"
#include "installer/package/MemberExtraction.h"
#include "installer/package/PackageReader.h"

#include "installer/package/ExtractionTestSupport.h"
#include "installer/package/MemoryPackageSource.h"

#include <filesystem>

namespace {

class PackedFiles : public ExtractionTest {
protected:
    // Reads the next record and checks it was read.
    FileRecord nextRecord()
    {
        FileRecord record;
        std::uint32_t conditionLength = 0;
        EXPECT_EQ(readFileRecord(record, conditionLength), kFileRecordRead);
        return record;
    }
    // Decodes the current record's member from where the reader stands.
    int extractCurrent(const FileRecord& record)
    {
        return extractMember(currentVolumeFile(), file("out.bin").c_str(), static_cast<std::uint32_t>(gVolumeState.position),
                             record.storedSize);
    }
    Bytes output() const { return fileBytes(file("out.bin")); }
};

TEST_F(PackedFiles, RecordsWithAndWithoutConditionReadInOrder)
{
    const Bytes first = sampleContent(3000, 1), second = sampleContent(4000, 2);
    auto description = nlohmann::json::parse(R"({"files": [
        {"name": "<InstallDir>\\readme.txt", "componentIndex": 2, "installTypeMask": 1, "flags": 4128,
         "fileFlags": 18, "lastWriteTime": 1311768467463790320, "creationTime": 81985529216486895,
         "versionMost": 65537, "versionLeast": 131075, "versionLanguage": 1033, "priority": 7,
         "condition": {"osFlags": 536870912, "comparisons": [
             {"left": "<IT_Type>", "op": 4, "right": "2"}, {"left": "", "op": 6, "right": "\"x\""}]}},
        {"name": "<InstallDir>\\b\u00e9.dat", "storage": "zip"}]})");
    description["files"][0]["hex"] = hex(first);
    description["files"][1]["hex"] = hex(second);
    writePackage(description);
    ASSERT_EQ(startPackedFiles(), 2u);
    const std::uint32_t firstRecord = field(192);

    FileRecord record;
    std::uint32_t conditionLength = 0;
    ASSERT_EQ(readFileRecord(record, conditionLength), kFileRecordRead);
    EXPECT_EQ(record.componentIndex, 2u);
    EXPECT_EQ(record.installTypeMask, 1u);
    EXPECT_EQ(record.flags, 4128u);
    EXPECT_EQ(record.overwriteMode(), 1u);
    EXPECT_EQ(record.fileFlags, 18u);
    EXPECT_EQ(record.lastWriteTime, 1311768467463790320u);
    EXPECT_EQ(record.creationTime, 81985529216486895u);
    EXPECT_EQ(record.versionMost, 65537u);
    EXPECT_EQ(record.versionLeast, 131075u);
    EXPECT_EQ(record.versionLanguage, 1033u);
    EXPECT_EQ(record.registrationPriority, 7);
    EXPECT_EQ(std::string(record.name.cStr()), "<InstallDir>\\readme.txt");
    ASSERT_TRUE(record.condition);
    EXPECT_EQ(record.condition->osFlags, 536870912u);
    ASSERT_EQ(record.condition->comparisons.size(), 2u);
    EXPECT_EQ(std::string(record.condition->comparisons[0].left.cStr()), "<IT_Type>");
    EXPECT_EQ(record.condition->comparisons[0].op, 4);
    EXPECT_EQ(std::string(record.condition->comparisons[0].right.cStr()), "2");
    EXPECT_TRUE(record.condition->comparisons[1].left.empty());
    EXPECT_EQ(std::string(record.condition->comparisons[1].right.cStr()), "\"x\"");
    // [count] + two comparisons of 12 bytes and their texts.
    EXPECT_EQ(conditionLength, 4u + 12 + 9 + 1 + 12 + 0 + 3);
    const std::uint64_t dataOffset = firstRecord + 64 + conditionLength + record.nameLength + 4;
    EXPECT_EQ(gVolumeState.position, dataOffset);
    EXPECT_EQ(record.endOffsets, std::vector<std::uint32_t>{static_cast<std::uint32_t>(dataOffset + record.storedSize)});
    ASSERT_EQ(extractCurrent(record), kExtractDone);
    EXPECT_EQ(output(), first);
    skipMember();

    // Field 60 = 0: the name follows the 64 bytes directly.
    const std::uint64_t secondRecord = gVolumeState.position;
    ASSERT_EQ(readFileRecord(record, conditionLength), kFileRecordRead);
    EXPECT_FALSE(record.condition);
    EXPECT_EQ(conditionLength, 0u);
    EXPECT_EQ(record.name.length(), std::string("<InstallDir>\\b\u00e9.dat").size());
    EXPECT_EQ(std::string(record.name.cStr()), "<InstallDir>\\b\u00e9.dat");
    EXPECT_EQ(gVolumeState.position, secondRecord + 64 + record.nameLength + 4);
    ASSERT_EQ(extractCurrent(record), kExtractDone);
    EXPECT_EQ(output(), second);
    EXPECT_EQ(record.installTypeMask, 3u);
}

TEST_F(PackedFiles, AMemberSpanningTwoVolumesIsDecodedWithoutAPrompt)
{
    const Bytes spanning = sampleContent(90000, 3), after = sampleContent(2000, 4);
    nlohmann::json description;
    description["files"] = {{{"name", "a"}, {"hex", hex(spanning)}, {"split", {1000}}},
                            {{"name", "b"}, {"hex", hex(after)}}};
    writePackage(description);
    ASSERT_TRUE(std::filesystem::exists(file("setup.002")));
    ASSERT_EQ(startPackedFiles(), 2u);

    FileRecord record = nextRecord();
    ASSERT_EQ(record.endOffsets.size(), 2u);
    ASSERT_EQ(extractCurrent(record), kExtractDone);
    EXPECT_EQ(output(), spanning);
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(gVolumeState.currentVolume, 2);
    EXPECT_EQ(std::string(currentVolumeFile()), file("setup.002"));

    // The next record lies in the second volume, after the member's end there.
    skipMember();
    EXPECT_EQ(gVolumeState.position, record.endOffsets[1]);
    record = nextRecord();
    EXPECT_EQ(std::string(record.name.cStr()), "b");
    EXPECT_EQ(gVolumeState.firstVolume, 2);
    ASSERT_EQ(extractCurrent(record), kExtractDone);
    EXPECT_EQ(output(), after);
}

TEST_F(PackedFiles, SkippingASpanningMemberLandsOnTheNextRecord)
{
    nlohmann::json description;
    description["files"] = {{{"name", "first"}, {"hex", hex(sampleContent(80000, 5))}, {"split", {500, 600}}},
                            {{"name", "second"}, {"text", "after the volumes"}, {"storage", "raw"}}};
    writePackage(description);
    ASSERT_TRUE(std::filesystem::exists(file("setup.003")));
    ASSERT_EQ(startPackedFiles(), 2u);
    FileRecord record = nextRecord();
    ASSERT_EQ(record.endOffsets.size(), 3u);
    skipMember();
    EXPECT_EQ(gVolumeState.currentVolume, 3);
    record = nextRecord();
    EXPECT_EQ(std::string(record.name.cStr()), "second");
    EXPECT_EQ(record.flags & kFileRawMember, kFileRawMember);
    EXPECT_TRUE(copyRawMember(currentVolumeFile(), file("out.bin").c_str(), static_cast<std::uint32_t>(gVolumeState.position),
                              record.storedSize, true));
    EXPECT_EQ(output(), Bytes({'a', 'f', 't', 'e', 'r', ' ', 't', 'h', 'e', ' ', 'v', 'o', 'l', 'u', 'm', 'e', 's'}));
    EXPECT_TRUE(prompts.empty());
}

TEST_F(PackedFiles, RawMembersAreCopiedAcrossVolumesWithProgress)
{
    const Bytes raw = sampleContent(100000, 6);
    nlohmann::json description;
    description["files"] = {{{"name", "raw"}, {"hex", hex(raw)}, {"storage", "raw"}, {"split", {40000}}}};
    writePackage(description);
    startPackedFiles();
    const FileRecord record = nextRecord();
    gExtractionCounters.reporting = true;
    EXPECT_TRUE(copyRawMember(currentVolumeFile(), file("out.bin").c_str(), static_cast<std::uint32_t>(gVolumeState.position),
                              record.storedSize, true));
    EXPECT_EQ(output(), raw);
    std::uint64_t reported = 0;
    for (auto bytes : progressReports)
        reported += bytes;
    EXPECT_EQ(reported, raw.size());
}

TEST_F(PackedFiles, AMissingVolumeEndsASilentInstallerWithoutAsking)
{
    nlohmann::json description;
    description["files"] = {{{"name", "a"}, {"hex", hex(sampleContent(50000, 7))}, {"split", {100}}}};
    writePackage(description);
    std::filesystem::remove(file("setup.002"));
    gFlags.silent = true;
    startPackedFiles();
    const FileRecord record = nextRecord();
    deleteWhenEnded = file("out.bin");
    EXPECT_THROW(extractCurrent(record), InstallerEnded);
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(deletedWhenEnded);
    EXPECT_TRUE(prompts.empty());
}

TEST_F(PackedFiles, AMissingVolumeIsAskedForAndCancelEndsTheInstaller)
{
    nlohmann::json description;
    description["files"] = {{{"name", "a"}, {"hex", hex(sampleContent(50000, 7))}, {"split", {100}}}};
    writePackage(description);
    std::filesystem::rename(file("setup.002"), file("moved.002"));
    startPackedFiles();
    const FileRecord record = nextRecord();
    EXPECT_THROW(extractCurrent(record), InstallerEnded);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].first, file("setup.002"));
    EXPECT_EQ(prompts[0].second, 2);

    // The user browses to where the volume lies: reading goes on from there.
    prompts.clear();
    promptResult = 1;
    promptAnswer = file("moved.002");
    startPackedFiles();
    const FileRecord again = nextRecord();
    EXPECT_EQ(extractCurrent(again), kExtractDone);
    EXPECT_EQ(output(), sampleContent(50000, 7));
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(std::string(currentVolumeFile()), file("moved.002"));
}

TEST_F(PackedFiles, AVolumeShorterThanItsEndOffsetIsAnInputError)
{
    nlohmann::json description;
    description["files"] = {{{"name", "a"}, {"hex", hex(sampleContent(50000, 8))}, {"split", {100}}}};
    writePackage(description);
    const Bytes volume = fileBytes(file("setup.002"));
    writeWholeFile(file("setup.002"), Bytes(volume.begin(), volume.begin() + 50));
    startPackedFiles();
    const FileRecord record = nextRecord();
    EXPECT_EQ(extractCurrent(record), kMemberInputMissing);
    EXPECT_EQ(questions, std::vector<std::string>{"Decoding error: Read error"});
}

TEST_F(PackedFiles, RecordsThatDoNotFitTheFileAreRefused)
{
    struct Case {
        const char* name;
        const char* overrides;
    } cases[] = {
        {"name longer than the file", R"({"nameLength": 4294967295})"},
        {"more end offsets than the file holds", R"({"volumeCount": 1073741823})"},
        {"no end offset", R"({"volumeCount": 0, "endOffsets": []})"},
        {"end offset beyond the file", R"({"endOffsets": [4294967295]})"},
        {"end offset before the member", R"({"endOffsets": [10]})"},
        {"stored size larger than its volumes", R"({"storedSize": 4294967295})"},
    };
    for (const auto& c : cases) {
        auto file = nlohmann::json::parse(c.overrides);
        file["name"] = "n";
        file["text"] = "data";
        nlohmann::json description;
        description["files"] = {file};
        writePackage(description);
        startPackedFiles();
        FileRecord record;
        std::uint32_t conditionLength = 0;
        EXPECT_EQ(readFileRecord(record, conditionLength), kFileRecordDamaged) << c.name;
        EXPECT_TRUE(record.name.empty()) << c.name;
        // A skip after a refused record stays where it is.
        const std::uint64_t position = gVolumeState.position;
        skipMember();
        EXPECT_EQ(gVolumeState.position, position) << c.name;
    }
}

TEST_F(PackedFiles, AtMost999VolumesCanBeNamed)
{
    // An empty raw member at 128 + 64 + 1 (name) + 4 x count, ending where it starts.
    for (const std::uint32_t count : {999u, 1000u}) {
        nlohmann::json file = {{"name", "n"}, {"text", ""}, {"storage", "raw"}};
        std::vector<std::uint32_t> ends(count, 0);
        ends[0] = 128 + 64 + 1 + 4 * count;
        file["endOffsets"] = ends;
        nlohmann::json description;
        description["files"] = {file};
        writePackage(description);
        startPackedFiles();
        FileRecord record;
        std::uint32_t conditionLength = 0;
        EXPECT_EQ(readFileRecord(record, conditionLength), count == 999 ? kFileRecordRead : kFileRecordDamaged) << count;
    }
}

TEST_F(PackedFiles, ConditionCountsAndLengthsBeyondTheFileAreRefused)
{
    // A whole record: condition [count 1][0][op 0][0], no name, one end offset, empty member.
    Bytes bytes(64, 0);
    bytes[48] = 1; // one end offset
    bytes[60] = 1; // condition present
    auto append = [&bytes](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    for (std::uint32_t value : {1u, 0u, 0u, 0u, 84u})
        append(value);
    FileRecord record;
    std::uint32_t conditionLength = 0;
    std::uint64_t dataOffset = 0;
    ASSERT_EQ(parseFileRecord(MemoryPackageSource(bytes), 0, 1, record, conditionLength, dataOffset), kFileRecordRead);
    EXPECT_EQ(conditionLength, 16u);
    EXPECT_EQ(dataOffset, 84u);

    // The count, the left length, the right length made huge in turn.
    for (const std::size_t at : {64u, 68u, 76u}) {
        Bytes damaged = bytes;
        damaged[at + 3] = 0x7F;
        EXPECT_EQ(parseFileRecord(MemoryPackageSource(damaged), 0, 1, record, conditionLength, dataOffset), kFileRecordDamaged)
            << at;
        EXPECT_FALSE(record.condition) << at;
    }
}

TEST_F(PackedFiles, ARecordWhosePackageCannotBeOpened)
{
    gPackagePath = ByteString(file("absent.exe").c_str());
    gVolumeState = VolumeState();
    FileRecord record;
    std::uint32_t conditionLength = 0;
    EXPECT_EQ(readFileRecord(record, conditionLength), kFileRecordNotOpened);
}

TEST_F(PackedFiles, VolumeNamesReplaceTheLastThreeCharacters)
{
    EXPECT_STREQ(volumeFileName(ByteString("C:\\dist\\setup.exe"), 2).cStr(), "C:\\dist\\setup.002");
    EXPECT_STREQ(volumeFileName(ByteString("D:\\setup.002"), 13).cStr(), "D:\\setup.013");
    EXPECT_STREQ(volumeFileName(ByteString("x.exe"), 999).cStr(), "x.999");
}

} // namespace
