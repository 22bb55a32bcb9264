// Locating the package: installers with packages from the builder, written to real files and
// read back through the package path, plus files damaged on purpose.
#include "installer/system/ErrorBox.h"
#include "installer/state/InstallerState.h"
#include "installer/package/PackageLocate.h"
#include "installer/package/MemoryPackageSource.h"
#include "installer/text/TempFolder.h"

#include "PackageBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void putLE32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t kPeOffset = 0x80;
constexpr std::size_t kSecurityEntry = kPeOffset + 24 + 96 + 4 * 8;

// A stand-in program image: a DOS header and a PE32 header whose data directories are empty;
// every other byte is a non-zero filler, so a misplaced read never finds a plausible zero.
Bytes fakeInstaller()
{
    Bytes image(1200, 0x90);
    image[0] = 'M';
    image[1] = 'Z';
    putLE32(image, 0x3C, kPeOffset);
    putLE32(image, kPeOffset, 0x00004550);
    image[kPeOffset + 24] = 0x0B;
    image[kPeOffset + 25] = 0x01;
    putLE32(image, kPeOffset + 24 + 92, 16);
    for (std::size_t at = kPeOffset + 24 + 96; at < kPeOffset + 24 + 96 + 16 * 8; at += 4)
        putLE32(image, at, 0);
    return image;
}

std::vector<std::string> shownTexts;
void recordErrorBox(const char* text)
{
    shownTexts.emplace_back(text ? text : "(null)");
}

class PackageLocate : public ::testing::Test {
protected:
    void SetUp() override
    {
        shownTexts.clear();
        previousBox_ = setErrorBoxFunction(recordErrorBox);
    }
    void TearDown() override
    {
        setErrorBoxFunction(previousBox_);
        gPackagePath = ByteString();
        gPackageHeader = ByteString();
    }

    int locateFile(const Bytes& bytes)
    {
        const std::string path = folder_.file("setup.exe");
        writeWholeFile(path, bytes);
        gPackagePath = ByteString(path.c_str());
        return locatePackage();
    }

    Bytes build(const char* description) { return buildInstallerWithPackage(fakeInstaller(), nlohmann::json::parse(description)); }

    TempFolder folder_;
    ErrorBoxFunction previousBox_ = nullptr;
};

struct LocateCase {
    const char* name;
    const char* description;
    int code;
    const char* message;
};

} // namespace

TEST_F(PackageLocate, TableOfPackagesFromTheBuilder)
{
    const LocateCase cases[] = {
        {"minimal header, no reserved block", R"({})", kLocateOk, nullptr},
        {"header of 1000 bytes", R"({"header": {"size": 1000}})", kLocateOk, nullptr},
        {"header of 1001 bytes", R"({"header": {"size": 1001}})", kLocateSizeMismatch, kFileSizeMismatchText},
        {"header shorter than field 232", R"({"header": {"size": 200}})", kLocateSizeMismatch, kFileSizeMismatchText},
        {"field 232 not H", R"({"header": {"selfOffset": 7}})", kLocateSizeMismatch, kFileSizeMismatchText},
        {"reserved block of 1000", R"({"reservedBlock": {"size": 1000}})", kLocateOk, nullptr},
        {"reserved length of 1001", R"({"reservedBlock": {"size": 1001}})", kLocateSizeMismatch, kFileSizeMismatchText},
        {"reserved length 0", R"({"reservedBlock": {"size": 0}})", kLocateOk, nullptr},
        {"reserved length putting H inside the program", R"({"reservedBlock": {"size": 4, "lengthField": 1000}})", kLocateSizeMismatch, kFileSizeMismatchText},
        {"reserved length longer than the block", R"({"reservedBlock": {"size": 4, "lengthField": 40}})", kLocateSizeMismatch, kFileSizeMismatchText},
    };
    for (const auto& c : cases) {
        shownTexts.clear();
        EXPECT_EQ(locateFile(build(c.description)), c.code) << c.name;
        if (c.message) {
            ASSERT_EQ(shownTexts.size(), 1u) << c.name;
            EXPECT_EQ(shownTexts[0], c.message) << c.name;
            EXPECT_TRUE(gPackageHeader.empty()) << c.name;
        } else {
            EXPECT_TRUE(shownTexts.empty()) << c.name;
        }
    }
}

TEST_F(PackageLocate, LoadsTheHeaderFromOffsetHUpToTheTrailer)
{
    const Bytes file = build(R"({"header": {"size": 300, "fields": {"0": 1234, "296": 77}}, "reservedBlock": {"size": 9}})");
    ASSERT_EQ(locateFile(file), kLocateOk);
    ASSERT_EQ(gPackageHeader.length(), 300u);
    EXPECT_EQ(gPackageHeader.readBE32(0), 1234u);
    EXPECT_EQ(gPackageHeader.readBE32(296), 77u);
    EXPECT_EQ(gPackageHeader.readBE32(232), fakeInstaller().size());
}

TEST_F(PackageLocate, MissingFileIsNotOpened)
{
    gPackagePath = ByteString(folder_.file("absent.exe").c_str());
    EXPECT_EQ(locatePackage(), kLocateNotOpened);
    EXPECT_TRUE(shownTexts.empty());
}

TEST_F(PackageLocate, FileCutAnywhereInTheTrailerIsRefused)
{
    const Bytes whole = build(R"({})");
    for (std::size_t cut = 1; cut <= 16; ++cut) {
        shownTexts.clear();
        const Bytes damaged(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(locateFile(damaged), kLocateChecksumMismatch) << "cut " << cut;
        EXPECT_EQ(shownTexts, std::vector<std::string>{kChecksumMismatchText}) << "cut " << cut;
    }
}

TEST_F(PackageLocate, TinyFilesNeverReadOutsideThemselves)
{
    // Only the magic dwords, then S and the magic: no room for H.
    const Bytes magicOnly = {0x3E, 0x2D, 0x1C, 0x0B, 0x78, 0x56, 0x34, 0x12};
    const Bytes noRoomForH = {0xFF, 0xFF, 0xFF, 0xFF, 0x3E, 0x2D, 0x1C, 0x0B, 0x78, 0x56, 0x34, 0x12};
    const Bytes hPastTheEnd = {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0x3E, 0x2D, 0x1C, 0x0B, 0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(locateFile(magicOnly), kLocateOffsetNotRead);
    EXPECT_EQ(locateFile(noRoomForH), kLocateOffsetNotRead);
    EXPECT_EQ(locateFile(hPastTheEnd), kLocateSizeMismatch);
    EXPECT_EQ(locateFile(Bytes{}), kLocateChecksumMismatch);
}

namespace {

// An in-memory installer file whose reads of one range fail, as a failing disk would.
class FailingSource final : public MemoryPackageSource {
public:
    FailingSource(Bytes bytes, std::uint64_t failingOffset) : MemoryPackageSource(std::move(bytes)), failingOffset_(failingOffset) {}

protected:
    bool readInside(std::uint64_t offset, void* buffer, std::uint32_t count) const override
    {
        return offset != failingOffset_ && MemoryPackageSource::readInside(offset, buffer, count);
    }

private:
    std::uint64_t failingOffset_;
};

// Signature padding and a certificate table appended after the trailer, the PE security
// directory pointing at the table, as a signing tool leaves the file.
Bytes signAfterwards(Bytes file, std::uint32_t padding, std::uint32_t tableSize, std::uint32_t directoryOffset)
{
    file.insert(file.end(), padding, 0);
    const auto tableOffset = static_cast<std::uint32_t>(file.size());
    file.insert(file.end(), tableSize, 0x30);
    putLE32(file, kSecurityEntry, directoryOffset == ~0u ? tableOffset : directoryOffset);
    putLE32(file, kSecurityEntry + 4, tableSize);
    return file;
}

} // namespace

TEST_F(PackageLocate, HeaderReadFailureIsReported)
{
    const Bytes file = build(R"({})");
    ByteString header;
    EXPECT_EQ(locatePackageIn(FailingSource(file, fakeInstaller().size()), header).code, kLocateHeaderNotRead);
    EXPECT_TRUE(header.empty());
}

TEST_F(PackageLocate, SignedFileIsFoundInFrontOfItsCertificateTable)
{
    const Bytes unsignedFile = build(R"({"reservedBlock": {"size": 5}})");
    for (std::uint32_t padding : {0u, 3u, 8u}) {
        EXPECT_EQ(locateFile(signAfterwards(unsignedFile, padding, 40, ~0u)), kLocateOk) << padding;
        EXPECT_EQ(gPackageHeader.length(), 236u);
    }
}

TEST_F(PackageLocate, BrokenSecurityDirectoryIsAChecksumMismatch)
{
    const Bytes unsignedFile = build(R"({})");
    const auto size = static_cast<std::uint32_t>(unsignedFile.size());
    struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"offset 0 with a size", signAfterwards(unsignedFile, 0, 40, 0)},
        {"table past the end", signAfterwards(unsignedFile, 0, 40, size + 8)},
        {"offset beyond the file", signAfterwards(unsignedFile, 0, 40, 0x7FFFFFF0)},
    };
    for (auto& c : cases) {
        shownTexts.clear();
        EXPECT_EQ(locateFile(c.file), kLocateChecksumMismatch) << c.name;
        EXPECT_EQ(shownTexts, std::vector<std::string>{kChecksumMismatchText}) << c.name;
    }
}
