// The destination and group texts: refusals in their order, network paths, free space, the
// kept forms, and the kilobyte figures of the components page.
#include "installer/wizard/FolderTextChecks.h"
#include "installer/wizard/KilobyteText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const ByteString& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

// C: fixed with 1000 free bytes, D: a CD-ROM, E: removable, Q: missing.
DriveQueries drives(std::vector<std::string>* asked = nullptr)
{
    DriveQueries queries;
    queries.kind = [](const ByteString& root) {
        switch (root.at(0)) {
        case 'C': return DriveKind::Fixed;
        case 'D': return DriveKind::Other;
        case 'E': return DriveKind::Removable;
        default: return DriveKind::NoRoot;
        }
    };
    queries.freeBytes = [asked](const ByteString& root) -> std::uint64_t {
        if (asked)
            asked->push_back(str(root));
        return 1000;
    };
    return queries;
}

} // namespace

TEST(FolderTextChecks, DestinationRefusals)
{
    struct Case {
        const char* path;
        std::uint64_t required;
        std::size_t problem;
    };
    const Case cases[] = {
        {"", 0, 76},
        {"C", 0, 77},
        {"C:", 0, 0},
        {"C:\\", 0, 0},
        {"C:App", 0, 77},
        {"1:\\x", 0, 78},
        {"Q:\\x", 0, 78},
        {"D:\\x", 0, 79},
        {"E:\\x", 0, 0},
        {"C:\\a|b", 0, 81},
        {"C:\\a:b", 0, 81},
        {"C:\\a\"b", 0, 81},
        {"C:\\a?b", 0, 81},
        {"C:\\a/b", 0, 81},
        {"C:\\a\\\\b", 0, 80},
        {"C:\\App", 1000, 0},
        {"C:\\App", 1001, 82},
        {"\\\\server\\share", 1u << 30, 0},
        {"\\\\server\\a|b", 0, 81},
        {"\\\\server\\\\share", 0, 80},
        {"\\\\srv:x", 0, 81},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(checkDestination(ByteString(c.path), c.required, drives()).problem, c.problem);
    }
}

TEST(FolderTextChecks, NetworkPathsMeasureNoDriveAndLocalOnesKeepTheirRoot)
{
    std::vector<std::string> asked;
    const DestinationCheck network = checkDestination(ByteString("\\\\server\\share"), 5000, drives(&asked));
    EXPECT_EQ(network.problem, 0u);
    EXPECT_FALSE(network.freeBytes);
    EXPECT_TRUE(asked.empty());

    const DestinationCheck local = checkDestination(ByteString("C:\\Program Files\\App"), 5000, drives(&asked));
    EXPECT_EQ(local.problem, 82u);
    EXPECT_EQ(str(local.root), "C:\\");
    ASSERT_TRUE(local.freeBytes);
    EXPECT_EQ(*local.freeBytes, 1000u);
    EXPECT_EQ(asked, std::vector<std::string>{"C:\\"});
}

TEST(FolderTextChecks, GroupRefusals)
{
    const std::pair<const char*, std::size_t> cases[] = {
        {"", 0},          {"Maker\\App", 0}, {"\\Maker", 0}, {"A*B", 87}, {"A:B", 87}, {"A<B", 87},
        {"A>B", 87},      {"A?B", 87},       {"A|B", 87},    {"A\"B", 87}, {"A/B", 87}, {"A\\\\B", 86},
    };
    for (const auto& [group, problem] : cases) {
        SCOPED_TRACE(group);
        EXPECT_EQ(groupProblem(ByteString(group)), problem);
    }
}

TEST(FolderTextChecks, KeptForms)
{
    const std::pair<const char*, const char*> destinations[] = {
        {"C:\\App", "C:\\App\\"}, {"C:\\App\\\\ \\", "C:\\App\\"}, {"C:", "C:\\"}, {"C:\\", "C:\\"}, {"", "\\"}};
    for (const auto& [typed, kept] : destinations)
        EXPECT_EQ(str(keptDestination(ByteString(typed))), kept) << typed;
    const std::pair<const char*, const char*> groups[] = {
        {"\\Maker\\App\\ ", "Maker\\App"}, {"\\\\Maker", "\\Maker"}, {"Maker", "Maker"}, {"\\", ""}, {"", ""}};
    for (const auto& [typed, kept] : groups)
        EXPECT_EQ(str(keptGroup(ByteString(typed))), kept) << typed;
}

TEST(KilobyteText, SeparatorEveryThreeDigits)
{
    const std::tuple<std::uint64_t, char, const char*> cases[] = {
        {0, '.', "0 K"},
        {1023, '.', "0 K"},
        {12345678, '.', "12.056 K"},
        {1024ull * 999, ',', "999 K"},
        {1024ull * 1000, ',', "1,000 K"},
        {1024ull * 1234567, ' ', "1 234 567 K"},
        {~0ull, '.', "18.014.398.509.481.983 K"},
    };
    for (const auto& [bytes, separator, text] : cases)
        EXPECT_EQ(str(kilobyteText(bytes, separator)), text) << bytes;
    EXPECT_EQ(thousandsSeparator(std::nullopt), ' ');
    EXPECT_EQ(thousandsSeparator(ByteString(".")), '.');
    EXPECT_EQ(thousandsSeparator(ByteString("\xC2\xA0")), ' ');
}
