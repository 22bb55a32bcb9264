// Members of the package header decoded and copied into files: the storage forms the builder
// writes, the checks on CRC-32 and length, and members that are broken or claim more than the
// file holds.
#include "installer/package/MemberExtraction.h"
#include "installer/package/PackageTables.h"

#include "installer/package/ExtractionTestSupport.h"

namespace {

class MemberExtraction : public ExtractionTest {
protected:
    // Builds a package whose uninstaller is the member and extracts it.
    int extractUninstaller(const nlohmann::json& member, std::uint32_t size)
    {
        const std::string package = writePackage(nlohmann::json{{"uninstaller", member}});
        setSingleVolumeMember(field(172), size);
        return extractMember(package.c_str(), output().c_str(), field(172), size);
    }
    std::string output() const { return file("out.bin"); }
};

TEST_F(MemberExtraction, EveryStorageFormDecodesToTheContent)
{
    const Bytes content = sampleContent(100000);
    struct Case {
        const char* name;
        nlohmann::json member;
    } cases[] = {
        {"gzip", {{"storage", "gzip"}}},
        {"gzip with name, comment, extra field and header CRC",
         {{"storage", "gzip"}, {"gzipHeader", {{"name", "file.txt"}, {"comment", "c"}, {"extra", "0102"}, {"headerCrc", true}}}}},
        {"zip, deflated", {{"storage", "zip"}}},
        {"zip, stored", {{"storage", "zipStored"}}},
    };
    for (auto& c : cases) {
        c.member["hex"] = hex(content);
        const std::string package = writePackage(nlohmann::json{{"uninstaller", c.member}});
        setSingleVolumeMember(field(172), field(168));
        EXPECT_EQ(extractMember(package.c_str(), output().c_str(), field(172), field(168)), kExtractDone) << c.name;
        EXPECT_EQ(fileBytes(output()), content) << c.name;
    }
    EXPECT_TRUE(questions.empty());
}

TEST_F(MemberExtraction, EmptyContentGivesAnEmptyFile)
{
    const std::string package = writePackage(nlohmann::json{{"uninstaller", {{"text", ""}}}});
    setSingleVolumeMember(field(172), field(168));
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), field(172), field(168)), kExtractDone);
    EXPECT_TRUE(fileBytes(output()).empty());
}

TEST_F(MemberExtraction, SizeZeroDecodesUpToTheEndOfTheGzipMember)
{
    // The member is followed by the header and the trailer, which must not be taken as data.
    const Bytes content = sampleContent(70000);
    EXPECT_EQ(extractUninstaller({{"hex", hex(content)}}, 0), kExtractDone);
    EXPECT_EQ(fileBytes(output()), content);
}

TEST_F(MemberExtraction, DamagedMembersGiveTheDecodersResult)
{
    const Bytes content = sampleContent(50000);
    struct Case {
        const char* name;
        nlohmann::json member;
        int result;
        std::vector<std::string> questions;
    } cases[] = {
        {"gzip CRC-32 wrong", {{"corrupt", "crc"}}, kMemberInvalid, {}},
        {"gzip length wrong", {{"corrupt", "length"}}, kMemberInvalid, {}},
        {"zip CRC-32 wrong", {{"storage", "zip"}, {"corrupt", "crc"}}, kMemberInvalid, {}},
        {"zip length wrong", {{"storage", "zipStored"}, {"corrupt", "length"}}, kMemberInvalid, {}},
        {"neither gzip nor zip", {{"corrupt", "header"}}, kMemberInvalid, {}},
        {"gzip of another method", {{"rawBytes", "1f8b0700000000000000"}}, kMemberInvalid,
         {"Decoding error: Invalid compression level"}},
        {"deflate data with an invalid block type", {{"rawBytes", "1f8b0800000000000000ff"}}, kMemberInvalid,
         {"Decoding error: Invalid input"}},
        {"truncated in the data", {{"corrupt", "truncate"}, {"keep", 200}}, kMemberInputMissing,
         {"Decoding error: Read error"}},
        {"truncated in the header", {{"corrupt", "truncate"}, {"keep", 5}}, kMemberInputMissing,
         {"Decoding error: Read error"}},
    };
    for (auto& c : cases) {
        questions.clear();
        c.member["hex"] = hex(content);
        const std::string package = writePackage(nlohmann::json{{"uninstaller", c.member}});
        setSingleVolumeMember(field(172), field(168));
        EXPECT_EQ(extractMember(package.c_str(), output().c_str(), field(172), field(168)), c.result) << c.name;
        EXPECT_EQ(questions, c.questions) << c.name;
    }
    EXPECT_EQ(endCalls, 0);
}

TEST_F(MemberExtraction, TheDecoderStopsAtTheMembersEnd)
{
    // The size given cuts the member short although the file goes on: the reader must not take
    // the bytes after it.
    const std::string package = writePackage(nlohmann::json{{"uninstaller", {{"hex", hex(sampleContent(50000))}}}});
    setSingleVolumeMember(field(172), field(168) - 1);
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), field(172), field(168)), kMemberInputMissing);
    setSingleVolumeMember(field(172), field(168));
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), field(172), field(168) - 1), kMemberInputMissing);
}

TEST_F(MemberExtraction, AMemberClaimingMoreThanTheFileHoldsEndsWithAnError)
{
    const std::string package = writePackage(nlohmann::json{{"uninstaller", {{"hex", hex(sampleContent(5000))}, {"corrupt", "truncate"}, {"keep", 100}}}});
    // The header's size field and the volume end reach far beyond the file.
    setSingleVolumeMember(field(172), 0x7FFFFFF0);
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), field(172), 0x7FFFFFF0), kMemberInvalid);
    setSingleVolumeMember(0xFFFFFF00, 0x1000);
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), 0xFFFFFF00, 0x1000), kMemberInputMissing);
}

TEST_F(MemberExtraction, NoEndsTheInstaller)
{
    answerYes = false;
    const std::string package = writePackage(nlohmann::json{{"uninstaller", {{"rawBytes", "1f8b0800000000000000ff"}}}});
    setSingleVolumeMember(field(172), field(168));
    deleteWhenEnded = output();
    EXPECT_THROW(extractMember(package.c_str(), output().c_str(), field(172), field(168)), InstallerEnded);
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(deletedWhenEnded);
    EXPECT_EQ(questions, std::vector<std::string>{"Decoding error: Invalid input"});
}

TEST_F(MemberExtraction, FilesThatCannotBeOpenedOrCreated)
{
    const std::string package = writePackage(nlohmann::json{{"uninstaller", {{"text", "x"}}}});
    EXPECT_EQ(extractMember(file("absent.exe").c_str(), output().c_str(), 0, 0), kExtractPackageNotOpened);
    EXPECT_EQ(extractMember(package.c_str(), file("no/such/folder/out.bin").c_str(), field(172), field(168)),
              kExtractOutputNotCreated);
}

TEST_F(MemberExtraction, ProgressIsReportedInStepsWhileTheSwitchIsOn)
{
    const Bytes content = sampleContent(300000);
    gExtractionCounters.reporting = true;
    ASSERT_EQ(extractUninstaller({{"hex", hex(content)}}, 0), kExtractDone);
    ASSERT_FALSE(progressReports.empty());
    std::uint64_t reported = 0;
    for (std::uint32_t bytes : progressReports) {
        EXPECT_GT(bytes, kProgressReportStep);
        reported += bytes;
    }
    EXPECT_EQ(reported, gExtractionCounters.reported);
    EXPECT_EQ(gExtractionCounters.processed, content.size());
    EXPECT_LE(gExtractionCounters.processed - gExtractionCounters.reported, kProgressReportStep);

    progressReports.clear();
    gExtractionCounters.reporting = false;
    ASSERT_EQ(extractUninstaller({{"hex", hex(content)}}, 0), kExtractDone);
    EXPECT_TRUE(progressReports.empty());
}

#ifndef _WIN32
TEST_F(MemberExtraction, AFailedWriteIsAskedOnceAndFailsTheMember)
{
    // Writing to /dev/full fails with "no space left".
    const std::string package = writePackage(nlohmann::json{{"uninstaller", {{"hex", hex(sampleContent(200000))}}}});
    setSingleVolumeMember(field(172), field(168));
    EXPECT_EQ(extractMember(package.c_str(), "/dev/full", field(172), field(168)), kMemberWriteFailed);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].rfind("Decoding error: Write error (", 0), 0u) << questions[0];
}
#endif

TEST_F(MemberExtraction, MembersOfTheImageAndFontTablesDecode)
{
    const Bytes bitmap = sampleContent(40000, 11), font = sampleContent(20000, 12);
    const std::string package = writePackage(nlohmann::json{
        {"images", {{{"id", 7}, {"text", "first"}}, {{"id", 9}, {"hex", hex(bitmap)}}}},
        {"fonts", {{{"hex", hex(font)}}}}});
    const auto source = openPackageFile(package.c_str());
    ASSERT_TRUE(source);
    std::vector<TableMember> images, fonts;
    ASSERT_TRUE(readMemberTable(*source, field(32), field(36), true, images));
    ASSERT_TRUE(readMemberTable(*source, field(40), field(44), false, fonts));
    ASSERT_EQ(images.size(), 2u);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(images[1].id, 9u);

    setSingleVolumeMember(images[1].offset, images[1].size);
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), images[1].offset, images[1].size), kExtractDone);
    EXPECT_EQ(fileBytes(output()), bitmap);
    setSingleVolumeMember(fonts[0].offset, fonts[0].size);
    EXPECT_EQ(extractMember(package.c_str(), output().c_str(), fonts[0].offset, fonts[0].size), kExtractDone);
    EXPECT_EQ(fileBytes(output()), font);
}

TEST_F(MemberExtraction, RawCopiesOfHeaderMembers)
{
    const Bytes music = sampleContent(70000, 7);
    const std::string package = writePackage(nlohmann::json{{"backgroundMusic", {{"hex", hex(music)}}}});
    EXPECT_EQ(field(116), 1u);
    EXPECT_TRUE(copyRawMember(package.c_str(), output().c_str(), field(120), field(124), false));
    EXPECT_EQ(fileBytes(output()), music);
    // A size that runs past the end of the file copies what is there and fails.
    EXPECT_FALSE(copyRawMember(package.c_str(), output().c_str(), field(120), 0x7FFFFFFF, false));
    EXPECT_FALSE(copyRawMember(file("absent.exe").c_str(), output().c_str(), 0, 10, false));
}

} // namespace
