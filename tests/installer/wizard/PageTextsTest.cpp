// The license and readme text tables, the language page's list, the user-information texts and
// the installation-type figures.
#include "installer/wizard/InstallTypeChoice.h"
#include "installer/wizard/LanguageNames.h"
#include "installer/wizard/PageTextTable.h"
#include "installer/wizard/UserInfoText.h"

#include "installer/package/MemoryPackageSource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const ByteString& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

void be32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

// A package whose text table starts at offset 4.
MemoryPackageSource table(const std::vector<std::pair<std::uint32_t, std::string>>& entries)
{
    std::vector<std::uint8_t> bytes(4, 0xEE);
    for (const auto& [language, text] : entries) {
        be32(bytes, language);
        be32(bytes, std::uint32_t(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    return MemoryPackageSource(bytes);
}

} // namespace

TEST(PageTextTable, CurrentLanguageElseLastNeutralEntry)
{
    struct Case {
        std::vector<std::pair<std::uint32_t, std::string>> entries;
        std::int32_t language;
        const char* expected;
    };
    const Case cases[] = {
        {{{0, "neutral"}, {7, "seven"}}, 7, "seven"},
        {{{7, "seven"}, {0, "neutral"}}, 7, "seven"},
        {{{0, "first"}, {7, ""}, {0, "second"}}, 7, "second"},
        {{{0, "neutral"}, {5, "five"}}, 7, "neutral"},
        {{{5, "five"}}, 7, ""},
        {{}, 7, ""},
    };
    for (const Case& c : cases) {
        const MemoryPackageSource package = table(c.entries);
        const auto text = choosePageText(package, 4, std::uint32_t(c.entries.size()), c.language);
        ASSERT_TRUE(text);
        EXPECT_EQ(str(*text), c.expected);
    }
}

TEST(PageTextTable, EntriesPastTheFileAreAReadError)
{
    const MemoryPackageSource package = table({{0, "neutral"}});
    EXPECT_FALSE(choosePageText(package, 4, 2, 1));
    std::vector<std::uint8_t> claimsTooMuch(4, 0);
    be32(claimsTooMuch, 1);
    be32(claimsTooMuch, 0xFFFFFFF0u);
    EXPECT_FALSE(choosePageText(MemoryPackageSource(claimsTooMuch), 4, 1, 1));
}

TEST(PageTextTable, PlainPrefixAndOptions)
{
    const std::tuple<const char*, bool, bool, bool, const char*> cases[] = {
        {"{\\rtf1 x}", true, false, true, "{\\rtf1 x}"},
        {"{\\rtf1 x}", true, true, false, "{\\rtf1 x}"},
        {"{\\rtf1 x}", false, false, false, "{\\rtf1 x}"},
        {"plain://Hello", true, false, false, "Hello"},
        {"plain://Hello", false, false, false, "Hello"},
        {"plain:/x", true, false, true, "plain:/x"},
    };
    for (const auto& [text, richEdit, plainOption, rich, shown] : cases) {
        const PageTextDisplay display = pageTextDisplay(ByteString(text), richEdit, plainOption);
        EXPECT_EQ(display.rich, rich) << text;
        EXPECT_EQ(str(display.text), shown) << text;
    }
}

TEST(LanguageNames, ListedInPackageOrderAndPreselected)
{
    std::vector<std::uint8_t> bytes(200, 0);
    const auto field = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + std::size_t(i)] = std::uint8_t(value >> (24 - 8 * i));
    };
    field(156, 2);
    field(164, 200);
    const auto addSet = [&](const std::string& name, std::uint32_t number, std::uint32_t tail) {
        std::vector<std::uint8_t> set;
        be32(set, std::uint32_t(4 + name.size() + 4 + tail));
        be32(set, std::uint32_t(name.size()));
        set.insert(set.end(), name.begin(), name.end());
        be32(set, number);
        set.resize(set.size() + tail, 0xAB);
        bytes.insert(bytes.end(), set.begin(), set.end());
    };
    addSet("English", 9, 10);
    addSet("Deutsch", 7, 3);
    const ByteString header(bytes.data(), 240);
    const auto names = readLanguageNames(MemoryPackageSource(bytes), header);
    ASSERT_TRUE(names);
    ASSERT_EQ(names->size(), 2u);
    EXPECT_EQ(str((*names)[0].name), "English");
    EXPECT_EQ((*names)[1].languageNumber, 7);
    EXPECT_EQ(preselectedLanguage(*names, 7, 9), 1);
    EXPECT_EQ(preselectedLanguage(*names, -1, 9), 0);
    EXPECT_EQ(preselectedLanguage(*names, -1, 7), 1);
    EXPECT_EQ(preselectedLanguage(*names, 3, 7), 0);

    bytes.resize(bytes.size() - 6);
    EXPECT_FALSE(readLanguageNames(MemoryPackageSource(bytes), header));
}

TEST(UserInfoText, LabelsAndConfirmation)
{
    EXPECT_EQ(str(userInfoLabel(ByteString("Name"), false)), "Name:");
    EXPECT_EQ(str(userInfoLabel(ByteString("Name"), true)), "Name *:");
    std::array<ByteString, kLanguageTextCount> texts;
    texts[66] = ByteString("Name");
    texts[67] = ByteString("Company");
    texts[70] = ByteString("Is this right?");
    texts[71] = ByteString("Go on?");
    EXPECT_EQ(str(userInfoConfirmation(texts, kUserNameShown | kOrganisationShown, ByteString("Ann"), ByteString("Co"))),
              "Is this right?\r\n\r\nName: Ann\r\nCompany: Co\r\n\r\nGo on?");
    EXPECT_EQ(str(userInfoConfirmation(texts, kOrganisationShown, ByteString("Ann"), ByteString("Co"))),
              "Is this right?\r\n\r\nCompany: Co\r\n\r\nGo on?");
}

TEST(InstallTypeChoice, FiguresComeFromTheHeader)
{
    ByteString header;
    for (std::uint32_t offset = 0; offset < 240; offset += 4)
        header.appendBE32(offset);
    const InstallTypeFigures minimal = installTypeFigures(header, 1);
    EXPECT_EQ(minimal.bytesRequired, 200u);
    EXPECT_EQ(minimal.jpegBytes, 208u);
    EXPECT_EQ(minimal.mp3Bytes, 212u);
    EXPECT_EQ(minimal.otherBytes, 224u);
    const InstallTypeFigures typical = installTypeFigures(header, 2);
    EXPECT_EQ(typical.bytesRequired, 204u);
    EXPECT_EQ(typical.jpegBytes, 216u);
    EXPECT_EQ(typical.mp3Bytes, 220u);
    EXPECT_EQ(typical.otherBytes, 228u);
    EXPECT_EQ(installTypeFigures(ByteString("short"), 2).bytesRequired, 0u);
}
