// The builder's output checked byte for byte against packages worked out by hand from the
// format: installer bytes, big-endian header fields, then H, S and the two magic dwords
// little-endian, with the reserved block between H and S.
#include "PackageBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const Bytes kInstaller = {'M', 'Z', 0x90, 0x00};

Bytes handMadeHeader(std::initializer_list<std::pair<std::size_t, Bytes>> fields)
{
    Bytes header(236, 0);
    for (const auto& [at, bytes] : fields)
        std::copy(bytes.begin(), bytes.end(), header.begin() + static_cast<std::ptrdiff_t>(at));
    return header;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A big-endian header field of a built package, the header found through the trailer's H.
std::uint32_t headerField(const Bytes& built, std::size_t at)
{
    const std::size_t tail = built.size() - 16;
    const std::size_t h = built[tail] | built[tail + 1] << 8 | built[tail + 2] << 16 | static_cast<std::size_t>(built[tail + 3]) << 24;
    const std::uint8_t* field = built.data() + h + at;
    return static_cast<std::uint32_t>(field[0]) << 24 | field[1] << 16 | field[2] << 8 | field[3];
}

} // namespace

TEST(PackageBuilderGolden, MinimalPackageWithoutReservedBlock)
{
    const Bytes built = buildInstallerWithPackage(kInstaller, nlohmann::json::parse(R"({"header": {"fields": {"200": 16909060}}})"));
    const Bytes expected = concat({
        kInstaller,
        handMadeHeader({{200, {0x01, 0x02, 0x03, 0x04}}, {232, {0x00, 0x00, 0x00, 0x04}}}),
        {0x04, 0x00, 0x00, 0x00},  // H = 4
        {0xFF, 0xFF, 0xFF, 0xFF},  // no reserved block
        {0x3E, 0x2D, 0x1C, 0x0B},
        {0x78, 0x56, 0x34, 0x12},
    });
    EXPECT_EQ(built, expected);
    EXPECT_EQ(built.size(), 4u + 236u + 16u);
}

TEST(PackageBuilderGolden, ReservedBlockSitsBetweenHeaderAndTrailer)
{
    const Bytes built = buildInstallerWithPackage(kInstaller, nlohmann::json::parse(R"({"reservedBlock": {"size": 3}})"));
    const Bytes expected = concat({
        kInstaller,
        handMadeHeader({{232, {0x00, 0x00, 0x00, 0x04}}}),
        {0x04, 0x00, 0x00, 0x00},
        {0xA5, 0xA5, 0xA5},
        {0x03, 0x00, 0x00, 0x00},
        {0x3E, 0x2D, 0x1C, 0x0B},
        {0x78, 0x56, 0x34, 0x12},
    });
    EXPECT_EQ(built, expected);
}

TEST(PackageBuilderGolden, PackedFileSplitOverASecondVolume)
{
    const BuiltPackage built = buildPackage(kInstaller, nlohmann::json::parse(
        R"({"files": [{"name": "a", "text": "xy", "storage": "raw", "split": [1], "priority": 5}]})"));
    Bytes record(64, 0);
    record[4] = 3;   // installation types: minimal and typical
    record[8] = 1;   // raw member
    record[44] = 1;  // name length
    record[48] = 2;  // two volumes
    record[52] = 2;  // stored size
    record[56] = 5;  // registration priority
    const Bytes expected = concat({
        kInstaller,
        record,
        {0x49},                    // 'a' with its 2-bit groups reversed
        {0x4E, 0x00, 0x00, 0x00},  // ends at 78 in the installer file
        {0x01, 0x00, 0x00, 0x00},  // and at 1 in the second volume
        {'x'},
        // one file of 2 bytes in both installation types: bytes required and other-file totals
        handMadeHeader({{188, {0, 0, 0, 1}}, {192, {0, 0, 0, 4}}, {196, {0, 0, 0, 74}}, {200, {0, 0, 0, 2}},
                        {204, {0, 0, 0, 2}}, {224, {0, 0, 0, 2}}, {228, {0, 0, 0, 2}}, {232, {0, 0, 0, 78}}}),
        {0x4E, 0x00, 0x00, 0x00},
        {0xFF, 0xFF, 0xFF, 0xFF},
        {0x3E, 0x2D, 0x1C, 0x0B},
        {0x78, 0x56, 0x34, 0x12},
    });
    EXPECT_EQ(built.installer, expected);
    EXPECT_EQ(built.volumes, std::vector<Bytes>{Bytes{'y'}});
    EXPECT_EQ(volumePath("dist/setup.exe", 2), "dist/setup.002");
}

TEST(PackageBuilderGolden, BadDescriptionsAreRefusedWithTheirReason)
{
    const char* cases[] = {
        R"([])",
        R"({"header": {"fields": {"234": 1}}})",
        R"({"header": {"fields": {"x": 1}}})",
        R"({"header": {"fields": {"8": -1}}})",
        R"({"header": {"fields": {"8": 4294967296}}})",
        R"({"reservedBlock": {"size": "big"}})",
    };
    for (const char* description : cases)
        EXPECT_THROW(buildInstallerWithPackage(kInstaller, nlohmann::json::parse(description)), PackageDescriptionError)
            << description;
}

TEST(PackageBuilderGolden, TablesLieBetweenInstallerAndHeader)
{
    const Bytes built = buildInstallerWithPackage(kInstaller, nlohmann::json::parse(R"({
        "templates": [{"template": "AB", "pageType": 2, "showOnce": true}],
        "imageIdentifiers": [16909060]})"));
    const Bytes expected = concat({
        kInstaller,
        // template table at 4: [2]["AB"][page type 2][show-once 1][0 condition bytes]
        {0, 0, 0, 2, 'A', 'B', 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0},
        // identifier table at 22, values little-endian
        {0x04, 0x03, 0x02, 0x01},
        handMadeHeader({{16, {0, 0, 0, 1}}, {20, {0, 0, 0, 4}}, {24, {0, 0, 0, 1}}, {28, {0, 0, 0, 22}},
                        {232, {0, 0, 0, 26}}}),
        {26, 0, 0, 0},
        {0xFF, 0xFF, 0xFF, 0xFF},
        {0x3E, 0x2D, 0x1C, 0x0B},
        {0x78, 0x56, 0x34, 0x12},
    });
    EXPECT_EQ(built, expected);
}

TEST(PackageBuilderGolden, LicenseAndReadmeTablesFromTextsAndFiles)
{
    const std::filesystem::path readme = std::filesystem::temp_directory_path() / ("kv_builder_readme_" + std::to_string(getpid()) + ".txt");
    writeWholeFile(readme.string(), Bytes{'R', '\r', '\n'});
    nlohmann::json description = nlohmann::json::parse(R"({
        "licenseTexts": [{"language": 0, "text": "AB"}, {"language": 7, "hex": "43"}]})");
    description["readmeTexts"] = {{{"language", 0}, {"file", readme.string()}}};
    const Bytes built = buildInstallerWithPackage(kInstaller, description);
    std::filesystem::remove(readme);
    const Bytes expected = concat({
        kInstaller,
        // license table at 4: language 0 "AB", language 7 "C"
        {0, 0, 0, 0, 0, 0, 0, 2, 'A', 'B', 0, 0, 0, 7, 0, 0, 0, 1, 'C'},
        // readme table at 23: the file's bytes unchanged
        {0, 0, 0, 0, 0, 0, 0, 3, 'R', '\r', '\n'},
        handMadeHeader({{48, {0, 0, 0, 1}}, {52, {0, 0, 0, 4}}, {56, {0, 0, 0, 2}}, {60, {0, 0, 0, 1}},
                        {64, {0, 0, 0, 23}}, {68, {0, 0, 0, 1}}, {232, {0, 0, 0, 34}}}),
        {34, 0, 0, 0},
        {0xFF, 0xFF, 0xFF, 0xFF},
        {0x3E, 0x2D, 0x1C, 0x0B},
        {0x78, 0x56, 0x34, 0x12},
    });
    EXPECT_EQ(built, expected);
}

TEST(PackageBuilderGolden, BadPageTextEntriesAreRefused)
{
    const char* cases[] = {
        R"({"licenseTexts": {"language": 0, "text": "x"}})",
        R"({"licenseTexts": ["x"]})",
        R"({"readmeTexts": [{"text": "x"}]})",
        R"({"readmeTexts": [{"language": 0}]})",
        R"({"licenseTexts": [{"language": "en", "text": "x"}]})",
        R"({"licenseTexts": [{"language": 0, "text": 5}]})",
        R"({"readmeTexts": [{"language": 0, "hex": "4"}]})",
    };
    for (const char* description : cases)
        EXPECT_THROW(buildInstallerWithPackage(kInstaller, nlohmann::json::parse(description)), PackageDescriptionError)
            << description;
}

TEST(PackageBuilderGolden, SpaceRequiredAndProgressTotalsFollowFromTheFiles)
{
    // a.txt 5 bytes minimal only; b.jpg 7 bytes typical only; c.JPG 3 bytes exempt from the JPEG
    // conversion; d.mp3 11 bytes; e.dat beside the package (size unknown); the uninstaller 6 bytes.
    const char* files = R"([
        {"name": "<InstallDir>\\a.txt", "text": "12345", "installTypeMask": 1},
        {"name": "<InstallDir>\\b.jpg", "text": "1234567", "installTypeMask": 2},
        {"name": "<InstallDir>\\c.JPG", "text": "123", "flags": 256},
        {"name": "<InstallDir>\\d.mp3", "text": "12345678901", "storage": "raw"},
        {"name": "<InstallDir>\\e.dat", "text": "e.dat", "storage": "beside"}])";
    struct Case {
        const char* name;
        const char* settings;
        std::uint32_t expected[8];  // fields 200, 204, 208, 212, 216, 220, 224, 228
    };
    const Case cases[] = {
        {"both conversions", R"({"packageOptions": 6})", {25, 32, 0, 11, 7, 11, 8, 8}},
        {"no conversion", R"({"packageOptions": 0})", {25, 32, 0, 0, 0, 0, 19, 26}},
        {"JPEG only", R"({"packageOptions": 4})", {25, 32, 0, 0, 7, 0, 19, 19}},
        {"no uninstaller", R"({"packageOptions": 0, "optionSwitches": [false, false, false, false, false, false,
            false, false, false, false, false, false, false, false, false, false, false, true]})", {19, 26, 0, 0, 0, 0, 19, 26}},
        {"an extractor", R"({"packageOptions": 0, "extractorMode": 1})", {0, 0, 0, 0, 0, 0, 19, 26}},
    };
    for (const Case& c : cases) {
        nlohmann::json description;
        description["files"] = nlohmann::json::parse(files);
        description["uninstaller"] = {{"text", "UNINST"}};
        description["toc"]["settings"] = nlohmann::json::parse(c.settings);
        const Bytes built = buildInstallerWithPackage(kInstaller, description);
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_EQ(headerField(built, 200 + 4 * i), c.expected[i]) << c.name << ", field " << 200 + 4 * i;
    }
}

TEST(PackageBuilderGolden, AFieldGivenInTheDescriptionOverridesTheComputedTotal)
{
    const Bytes built = buildInstallerWithPackage(kInstaller, nlohmann::json::parse(R"({
        "files": [{"name": "a", "text": "xyz"}], "header": {"fields": {"200": 100}}})"));
    EXPECT_EQ(headerField(built, 200), 100u);
    EXPECT_EQ(headerField(built, 204), 3u);
}
