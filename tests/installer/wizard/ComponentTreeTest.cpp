// The components tree without its window: shown texts, first states from the package, the
// variables and saved choices, totals, and the keys saved when the page is left.
#include "installer/wizard/ComponentTree.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::string str(const ByteString& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.length());
}

ComponentRecord record(const char* name, std::int32_t parent, std::uint32_t depth, std::uint32_t flags,
                       std::uint32_t bytes)
{
    ComponentRecord r;
    r.name = ByteString(name);
    r.parent = parent;
    r.depth = depth;
    r.flags = flags;
    r.bytes = bytes;
    r.mp3Bytes = bytes / 10;
    r.jpegBytes = bytes / 100;
    r.otherBytes = 1;
    return r;
}

// Base (fixed) | Tools: Editor (default), Viewer | Docs: Guides: Quick (default)
std::vector<ComponentRecord> sampleTree()
{
    return {
        record("Base", -1, 0, kComponentFixed, 1000),
        record("Tools", -1, 0, 0, 0),
        record("Editor", 1, 1, kComponentSelectedByDefault, 2000),
        record("Viewer", 1, 1, 0, 3000),
        record("Docs", -1, 0, 0, 0),
        record("Guides", 4, 1, 0, 0),
        record("Quick", 5, 2, kComponentSelectedByDefault, 400),
    };
}

ByteString sizeText(std::uint64_t bytes)
{
    ByteString text;
    text.format("%d", std::int32_t(bytes));
    return text;
}

struct Built {
    std::vector<ComponentItem> items;
    std::vector<CheckItem> states;
    std::vector<std::string> asked;
};

Built build(const std::vector<ComponentChoice>& saved, const std::map<std::string, std::int32_t>& variables = {})
{
    Built built;
    ComponentTreeInputs inputs(saved);
    inputs.sizeText = sizeText;
    inputs.variableInt = [&](const ByteString& name) -> std::optional<std::int32_t> {
        built.asked.push_back(str(name));
        const auto found = variables.find(str(name));
        if (found == variables.end())
            return std::nullopt;
        return found->second;
    };
    buildComponentTree(sampleTree(), inputs, built.items, built.states);
    recomputeStates(built.states);
    return built;
}

std::vector<std::int32_t> statesOf(const Built& built)
{
    std::vector<std::int32_t> states;
    for (const CheckItem& item : built.states)
        states.push_back(item.state);
    return states;
}

} // namespace

TEST(ComponentTree, FirstVisitTakesDefaultsAndVariables)
{
    const Built plain = build({});
    EXPECT_EQ(str(plain.items[0].shownText), "Base (1000)");
    EXPECT_EQ(str(plain.items[1].shownText), "Tools");
    EXPECT_EQ(str(plain.items[6].shownText), "Quick (400)");
    EXPECT_EQ(statesOf(plain), (std::vector<std::int32_t>{2, 3, 1, 0, 1, 1, 1}));
    // A child's key is made from its parent only.
    EXPECT_EQ(plain.asked, (std::vector<std::string>{"<II_Base>", "<II_Tools>", "<II_Tools_Editor>",
                                                     "<II_Tools_Viewer>", "<II_Docs>", "<II_Docs_Guides>",
                                                     "<II_Guides_Quick>"}));

    // A variable decides even for a fixed component.
    const Built preset = build({}, {{"<II_Base>", 0}, {"<II_Tools_Viewer>", 5}, {"<II_Guides_Quick>", 0}});
    EXPECT_EQ(statesOf(preset), (std::vector<std::int32_t>{0, 1, 1, 1, 0, 0, 0}));
}

TEST(ComponentTree, SavedChoicesPresetTheNextVisit)
{
    Built first = build({});
    toggleItem(first.states, 2); // Editor off
    toggleItem(first.states, 4); // Docs off
    const SavedComponents saved = saveComponentTree(first.items, first.states);
    ASSERT_EQ(saved.choices.size(), 7u);
    EXPECT_EQ(str(saved.choices[6].name), "\t\tQuick (400)");

    const Built again = build(saved.choices, {{"<II_Tools_Viewer>", 1}});
    EXPECT_EQ(statesOf(again), statesOf(first));
    // Saved choices are taken without asking the variables.
    EXPECT_TRUE(again.asked.empty());
}

TEST(ComponentTree, SavedChoicesShorterThanTheTreeLeaveTheRestToThePackage)
{
    const std::vector<ComponentChoice> short_{{false, ByteString("Base")}, {false, ByteString("Tools")}};
    const Built built = build(short_);
    // Base stays fixed; the places the choices do not reach take their defaults.
    EXPECT_EQ(statesOf(built), (std::vector<std::int32_t>{2, 3, 1, 0, 1, 1, 1}));
    EXPECT_EQ(built.asked.size(), 5u);
}

TEST(ComponentTree, SavedKeysUseTheWholeChain)
{
    const Built built = build({});
    const SavedComponents saved = saveComponentTree(built.items, built.states);
    const std::vector<std::pair<std::string, std::int32_t>> expected = {
        {"<II_Base>", 1},         {"<II_Tools>", 1},       {"<II_Tools_Editor>", 1},
        {"<II_Tools_Viewer>", 0}, {"<II_Docs>", 1},        {"<II_Docs_Guides>", 1},
        {"<II_Docs_Guides_Quick>", 1},
    };
    ASSERT_EQ(saved.variables.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(str(saved.variables[i].first), expected[i].first);
        EXPECT_EQ(saved.variables[i].second, expected[i].second);
        EXPECT_EQ(saved.choices[i].checked, expected[i].second == 1);
    }
}

TEST(ComponentTree, TotalsCountCheckedFixedAndPartlyChecked)
{
    Built built = build({});
    ComponentTotals totals = componentTotals(built.items, built.states);
    EXPECT_EQ(totals.bytes, 1000u + 2000u + 400u);
    EXPECT_EQ(totals.mp3Bytes, 100u + 200u + 40u);
    EXPECT_EQ(totals.jpegBytes, 10u + 20u + 4u);
    // Tools is partly checked and Docs and Guides checked: their own record counts too.
    EXPECT_EQ(totals.otherBytes, 6u);
    toggleItem(built.states, 1);
    totals = componentTotals(built.items, built.states);
    EXPECT_EQ(totals.bytes, 1000u + 400u);
}

TEST(ComponentTree, DescriptionsCutToTheLanguageBlock)
{
    const std::tuple<const char*, std::int32_t, const char*> cases[] = {
        {"<LangID=1>\r\nOne\r\n</LangID=1><LangID=2>Two</LangID=2>", 2, "Two"},
        {"<LangID=1>\r\nOne\r\n</LangID=1><LangID=2>Two</LangID=2>", 1, "One\r\n"},
        {"<LangID=1>One</LangID=1>", 3, "<LangID=1>One</LangID=1>"},
        {"<LangID=3>open only", 3, "<LangID=3>open only"},
        {"<langid=3>x</langid=3>", 3, "<langid=3>x</langid=3>"},
        {"plain", 1, "plain"},
    };
    for (const auto& [description, language, expected] : cases)
        EXPECT_EQ(str(languageBlock(ByteString(description), language)), expected) << description;
}
