// The small tables the header points to, written by the builder and read back, and tables whose
// counts or lengths reach past the file.
#include "installer/package/PackageLocate.h"
#include "installer/package/PackageTables.h"

#include "PackageBuilder.h"

#include <gtest/gtest.h>

#include "installer/package/MemoryPackageSource.h"

#include <string>

namespace {

using MemoryFile = MemoryPackageSource;

std::string text(const ByteString& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

const Bytes kProgram(64, 0x90);

} // namespace

TEST(PackageTables, ReadBackWhatTheBuilderWrote)
{
    const MemoryFile file(buildInstallerWithPackage(kProgram, nlohmann::json::parse(R"({
        "templates": [{"template": "RTT page one", "pageType": 2, "showOnce": true, "condition": "\u0000\u0000\u0000\u0001"},
                      {"template": "", "pageType": 13}],
        "imageIdentifiers": [7, 4294967295, 7],
        "slideshow": ["<ResourceDir>\\slide1.jpg", ""]})")));
    ByteString header;
    ASSERT_EQ(locatePackageIn(file, header).code, kLocateOk);

    std::vector<TemplateEntry> templates;
    ASSERT_TRUE(readTemplateTable(file, header.readBE32(16), header.readBE32(20), templates));
    ASSERT_EQ(templates.size(), 2u);
    EXPECT_EQ(text(templates[0].templateBytes), "RTT page one");
    EXPECT_EQ(templates[0].pageType, 2);
    EXPECT_TRUE(templates[0].showOnce);
    EXPECT_FALSE(templates[0].shown);
    EXPECT_EQ(text(templates[0].condition), std::string("\0\0\0\1", 4));
    EXPECT_EQ(templates[1].pageType, 13);
    EXPECT_FALSE(templates[1].showOnce);
    EXPECT_TRUE(templates[1].templateBytes.empty());
    EXPECT_TRUE(templates[1].condition.empty());

    std::vector<std::uint32_t> identifiers;
    ASSERT_TRUE(readIdentifierTable(file, header.readBE32(24), header.readBE32(28), identifiers));
    EXPECT_EQ(identifiers, (std::vector<std::uint32_t>{7, 0xFFFFFFFF, 7}));

    std::vector<ByteString> slides;
    ASSERT_TRUE(readSlideshowTable(file, header.readBE32(144), header.readBE32(148), slides));
    ASSERT_EQ(slides.size(), 2u);
    EXPECT_EQ(text(slides[0]), "<ResourceDir>\\slide1.jpg");
    EXPECT_TRUE(slides[1].empty());
}

TEST(PackageTables, CountsAndLengthsBeyondTheFileAreRefused)
{
    // A hostile header: counts and offsets that the file cannot back.
    const Bytes bytes = buildInstallerWithPackage(kProgram, nlohmann::json::parse(R"({
        "templates": [{"template": "AB", "pageType": 1}],
        "slideshow": ["x"]})"));
    const MemoryFile file(bytes);
    ByteString header;
    ASSERT_EQ(locatePackageIn(file, header).code, kLocateOk);
    const std::uint32_t templates = header.readBE32(20), slideshow = header.readBE32(148);
    const auto size = static_cast<std::uint32_t>(bytes.size());

    std::vector<TemplateEntry> entries;
    EXPECT_FALSE(readTemplateTable(file, 0x7FFFFFFF, templates, entries));
    EXPECT_FALSE(readTemplateTable(file, 1, size, entries));
    EXPECT_FALSE(readTemplateTable(file, 1, 0xFFFFFFF0, entries));
    EXPECT_TRUE(entries.empty());

    std::vector<std::uint32_t> identifiers;
    EXPECT_FALSE(readIdentifierTable(file, 0xFFFFFFFF, 0, identifiers));
    EXPECT_FALSE(readIdentifierTable(file, 1, size - 2, identifiers));
    EXPECT_TRUE(identifiers.empty());
    EXPECT_TRUE(readIdentifierTable(file, 0, size, identifiers));

    std::vector<ByteString> slides;
    EXPECT_TRUE(readSlideshowTable(file, 1, slideshow, slides));
    ASSERT_EQ(slides.size(), 1u);

    // A length field near 4 GB in a small file: refused before anything is allocated.
    Bytes hostile = bytes;
    hostile[slideshow] = 0xFF;
    EXPECT_FALSE(readSlideshowTable(MemoryFile(hostile), 1, slideshow, slides));
    EXPECT_TRUE(slides.empty());
}
