// The builder's check of a package's language sets: every text that the package's pages, options
// and content can show must be there, and Korvanel's own package has them all.
#include "LanguageSetCheck.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using json = nlohmann::json;

json pages(std::initializer_list<int> types)
{
    json templates = json::array();
    for (int type : types)
        templates.push_back({{"template", "x"}, {"pageType", type}});
    return templates;
}

// A set whose 200 lines are all filled except the given entries.
json setWithout(std::initializer_list<std::size_t> empty)
{
    json lines = json::array();
    for (std::size_t i = 0; i < 200; ++i)
        lines.push_back(std::find(empty.begin(), empty.end(), i) == empty.end() ? "text" : "");
    return {{"name", "English"}, {"lines", lines}};
}

std::vector<std::size_t> emptyEntries(const json& description)
{
    const auto result = emptyLanguageTexts(description);
    return result.empty() ? std::vector<std::size_t>{} : result.front().entries;
}

} // namespace

TEST(LanguageSetCheck, EmptyTextsOfThePackagesPagesAreNamed)
{
    json description;
    description["templates"] = pages({2, 7, 11, 13, 12});
    // 17 welcome, 78 destination, 105 summary, 136 run, 146 finish; 98 (components) and 63 (user
    // information) are not shown by these pages, 151 only with the launch offered.
    description["languageSets"]["sets"] = {setWithout({17, 78, 98, 63, 105, 136, 146, 151})};
    EXPECT_EQ(emptyEntries(description), (std::vector<std::size_t>{17, 78, 105, 136, 146}));
    const auto message = emptyLanguageTextsMessage(emptyLanguageTexts(description).front());
    EXPECT_EQ(message, "language set \"English\" leaves empty texts the package shows: 17, 78, 105, 136, 146");
}

TEST(LanguageSetCheck, ContentAndOptionsAddTheTextsTheyCanShow)
{
    struct Case {
        const char* name;
        const char* addition;  // merged into the description
        std::size_t entry;     // left empty in the set: named only with the addition
    };
    const Case cases[] = {
        {"files: an existing file", R"({"files": [{"name": "a", "text": "x"}]})", 113},
        {"files: the next volume", R"({"files": [{"name": "a", "text": "x"}]})", 124},
        {"a file beside the package", R"({"files": [{"name": "a", "text": "a", "storage": "beside"}]})", 127},
        {"a file registered", R"({"files": [{"name": "a", "text": "x", "flags": 32}]})", 176},
        {"MP3 to WAV", R"({"toc": {"settings": {"packageOptions": 2}}})", 131},
        {"an uninstaller", R"({"uninstaller": {"text": "MZ"}})", 170},
        {"the launch offered", R"({"toc": {"settings": {"optionSwitches": [false, false, false, true]}}})", 151},
        {"a file search", R"({"toc": {"variables": [{"name": "<V>", "source": 2}]}})", 175},
        {"a stage action", R"({"toc": {"stageActions": [{"type": 1}]}})", 163},
        {"administrator rights", R"({"toc": {"settings": {"adminRequired": 1}}})", 177},
    };
    for (const Case& c : cases) {
        json description;
        description["templates"] = pages({13, 12});
        description["languageSets"]["sets"] = {setWithout({c.entry})};
        EXPECT_TRUE(emptyEntries(description).empty()) << c.name << ": named without the addition";
        description.merge_patch(json::parse(c.addition));
        EXPECT_EQ(emptyEntries(description), std::vector<std::size_t>{c.entry}) << c.name;
    }
}

TEST(LanguageSetCheck, ASilentPackageAndAShortTableAreJudgedByWhatIsShown)
{
    json silent;
    silent["files"] = json::parse(R"([{"name": "a", "text": "x"}])");
    silent["languageSets"]["sets"] = {setWithout({113})};
    EXPECT_TRUE(emptyLanguageTexts(silent).empty()) << "no pages: no text is shown";

    json shortTable;
    shortTable["templates"] = pages({2});
    shortTable["languageSets"]["sets"] = {{{"name", "Short"}, {"table", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\nl\r\nm\r\nn\r\no"}}};
    EXPECT_EQ(emptyEntries(shortTable), (std::vector<std::size_t>{15, 16, 17}));
}

TEST(LanguageSetCheck, KorvanelsPackageShowsNoEmptyText)
{
    std::ifstream file(KV_PACKAGE_SOURCE_DIR "/description.json");
    ASSERT_TRUE(file.is_open());
    const json description = json::parse(file);
    for (const auto& set : emptyLanguageTexts(description))
        ADD_FAILURE() << emptyLanguageTextsMessage(set);
    // The pages Korvanel's package has: the summary, the run and the finish page among them.
    const auto shown = languageTextsShown(description);
    for (std::size_t entry : {17u, 76u, 81u, 87u, 103u, 109u, 112u, 124u, 132u, 139u, 140u, 164u, 174u})
        EXPECT_TRUE(shown.count(entry)) << entry;
}
