// The summary page's text for each installation type, with and without the group and the
// package's extra lines.
#include "installer/wizard/SummaryText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const ByteString& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

std::array<ByteString, kLanguageTextCount> summaryTexts()
{
    std::array<ByteString, kLanguageTextCount> texts;
    const std::pair<std::size_t, const char*> entries[] = {
        {90, "Typical"},  {92, "Minimal"},  {94, "Custom"},     {103, "Summary"},         {104, "Type:"},
        {105, "Parts:"},  {106, "Needed:"}, {107, "Free:"},     {108, "Folder:"},         {109, "Group:"},
    };
    for (const auto& [index, text] : entries)
        texts[index] = ByteString(text);
    return texts;
}

ByteString sizeText(std::uint64_t bytes)
{
    ByteString text;
    text.format("%d B", std::int32_t(bytes));
    return text;
}

} // namespace

TEST(SummaryText, EachInstallationTypeGivesItsExactText)
{
    const auto texts = summaryTexts();
    std::vector<ComponentChoice> choices{{true, ByteString("Core (1 KB)")},
                                         {false, ByteString("Extras")},
                                         {true, ByteString("\tSounds (2 KB)")}};
    const std::string head = "Summary\r\n=====================================\r\n\r\n";
    const std::string tail = "Needed: 100 B\r\nFree: 900 B\r\n\r\nFolder:\r\nC:\\App\\\r\n";
    struct Case {
        bool showsType;
        std::int32_t type;
        std::string middle;
    };
    const Case cases[] = {
        {false, 4, ""},
        {true, 1, "Type:\r\nMinimal\r\n\r\n"},
        {true, 2, "Type:\r\nTypical\r\n\r\n"},
        {true, 4, "Type:\r\nCustom\r\nParts:\r\n\tCore (1 KB)\r\n\t\tSounds (2 KB)\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        SummaryInputs inputs(texts, choices);
        inputs.showsType = c.showsType;
        inputs.installationType = c.type;
        inputs.bytesRequired = 100;
        inputs.freeBytes = 900;
        inputs.installDir = ByteString("C:\\App\\");
        inputs.sizeText = sizeText;
        EXPECT_EQ(str(buildSummaryText(inputs)), head + c.middle + tail);
    }
}

TEST(SummaryText, GroupAndExtraLinesFollowTheFolder)
{
    const auto texts = summaryTexts();
    const std::vector<ComponentChoice> none;
    SummaryInputs inputs(texts, none);
    inputs.installDir = ByteString("D:\\x\\");
    inputs.showsGroup = true;
    inputs.shortcutDir = ByteString("Maker\\App");
    inputs.extraInfo = ByteString("a<\\r><\\n>b<\\n>");
    inputs.sizeText = sizeText;
    EXPECT_EQ(str(buildSummaryText(inputs)),
              "Summary\r\n=====================================\r\n\r\nNeeded: 0 B\r\nFree: 0 B\r\n\r\n"
              "Folder:\r\nD:\\x\\\r\n\r\nGroup:\r\nMaker\\App\r\na\r\nb\n");
}
