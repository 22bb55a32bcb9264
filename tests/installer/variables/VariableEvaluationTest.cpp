#include "installer/variables/VariableEvaluation.h"

#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"

#include "installer/variables/FakeVariableSources.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kHklm = "-2147483646";
constexpr std::int32_t kHklmRoot = -2147483647 - 1 + 2;

class VariableEvaluationTest : public ::testing::Test {
protected:
    InstallerVariable& evaluated(InstallerVariable& variable)
    {
        evaluateVariable(static_cast<std::int32_t>(gPackageToc.variables.size() - 1));
        return variable;
    }

    CleanVariableState state_;
    std::shared_ptr<FakeSystem> system_ = std::make_shared<FakeSystem>();
    ScopedVariableSources sources_{fakeVariableSources(system_)};
};

TEST_F(VariableEvaluationTest, IndexOutsideTheListOrAKnownEntryDoesNothing)
{
    InstallerVariable& known = declareVariable("<K>", kVariableText, kVariableKnown, "d", "f.ini", "s", "k");
    known.valueText.assignCStr("kept");
    evaluateVariable(-1);
    evaluateVariable(1);
    evaluateVariable(0);
    EXPECT_STREQ(known.valueText.cStr(), "kept");
    EXPECT_EQ(known.valueInt, 0);
}

TEST_F(VariableEvaluationTest, ADefaultNamingItsOwnVariableSeesItsCurrentValue)
{
    InstallerVariable& self = declareVariable("<Self>", kVariableText, kVariableFromIni, "[<Self>]", "f.ini", "s", "k");
    EXPECT_STREQ(evaluated(self).valueText.cStr(), "[]");
    EXPECT_EQ(self.state, kVariableKnown);
}

TEST_F(VariableEvaluationTest, SourceTextsAreExpandedBeforeTheRead)
{
    gMainInstaller.folders[kWindowsDir].assignCStr("C:\\Windows");
    declareVariable("<Section>", kVariableText, kVariableKnown).valueText.assignCStr("Main");
    system_->ini["C:\\Windows\\app.ini|Main|Key"] = "value";
    InstallerVariable& variable = declareVariable("<V>", kVariableText, kVariableFromIni, "", "<WindowsDir>\\app.ini", "<Section>", "Key");
    EXPECT_STREQ(evaluated(variable).valueText.cStr(), "value");
}

TEST_F(VariableEvaluationTest, IniSources)
{
    system_->ini["a.ini|S|Zero"] = "0";
    system_->ini["a.ini|S|One"] = "1";
    system_->ini["a.ini|S|Text"] = "42 apples";
    struct Case {
        std::int32_t kind;
        std::uint32_t flags;
        const char* key;
        const char* defaultText;
        std::int32_t valueInt;
        const char* valueText;
    };
    const Case cases[] = {
        // Whether the key exists: a stored "0" and a stored "1" both exist.
        {kVariableInteger, 1, "Zero", "", 1, "1"},
        {kVariableInteger, 1, "One", "", 1, "1"},
        {kVariableInteger, 1, "Missing", "5", 0, "0"},
        // The number, with the default for a missing key.
        {kVariableInteger, 0, "One", "9", 1, "1"},
        {kVariableInteger, 0, "Missing", "9", 9, "9"},
        // The text; its number follows it.
        {kVariableText, 0, "Text", "d", 42, "42 apples"},
        {kVariableText, 1, "Missing", "17d", 17, "17d"},
    };
    for (const Case& c : cases) {
        CleanVariableState clean;
        InstallerVariable& variable = declareVariable("<I>", c.kind, kVariableFromIni, c.defaultText, "a.ini", "S", c.key, c.flags);
        evaluated(variable);
        EXPECT_EQ(variable.valueInt, c.valueInt) << c.key << " flags " << c.flags;
        EXPECT_STREQ(variable.valueText.cStr(), c.valueText) << c.key << " flags " << c.flags;
    }
}

TEST_F(VariableEvaluationTest, RegistryExistenceFlags)
{
    system_->registryKeys.insert(std::to_string(kHklmRoot) + "|Software\\There");
    system_->registryValues[std::to_string(kHklmRoot) + "|Software\\There|Name"] = "x";
    struct Case {
        std::uint32_t flags;
        const char* key;
        const char* defaultText;
        std::int32_t valueInt;
    };
    const Case cases[] = {
        {1, "Software\\There", "7", 1},
        {1, "Software\\Missing", "7", 7},   // the default stands in when it is a plain number
        {1, "Software\\Missing", "7a", 0},
        {1, "Software\\Missing", "07", 0},
        {1, "Software\\Missing", "", 0},
        {1, "Software\\Missing", "-3", -3},
        {2, "Software\\There", "", 1},      // bit 1 alone: the value
        {2, "Software\\Missing", "", 0},
        {3, "Software\\There", "", 1},      // bit 0 wins: the key
    };
    for (const Case& c : cases) {
        CleanVariableState clean;
        InstallerVariable& variable =
            declareVariable("<R>", kVariableInteger, kVariableFromRegistry, c.defaultText, kHklm, c.key, "Name", c.flags);
        evaluated(variable);
        EXPECT_EQ(variable.valueInt, c.valueInt) << c.key << " " << c.defaultText << " flags " << c.flags;
        EXPECT_STREQ(variable.valueText.cStr(), std::to_string(c.valueInt).c_str());
    }
}

TEST_F(VariableEvaluationTest, RegistryValues)
{
    const std::string prefix = std::to_string(kHklmRoot) + "|Software\\P|";
    system_->registryValues[prefix + "Dword"] = std::string("\x10\x27\x00\x00", 4);   // 10000
    system_->registryValues[prefix + "Negative"] = std::string("\xFE\xFF\xFF\xFF", 4);
    system_->registryValues[prefix + "Short"] = std::string("\x05\x01", 2);           // fewer than four bytes
    system_->registryValues[prefix + "Text"] = std::string("C:\\Tools\0rest", 13);
    struct Case {
        std::int32_t kind;
        const char* name;
        const char* defaultText;
        std::int32_t valueInt;
        const char* valueText;
    };
    const Case cases[] = {
        {kVariableInteger, "Dword", "", 10000, "10000"},
        {kVariableInteger, "Negative", "", -2, "-2"},
        {kVariableInteger, "Short", "", 0x105, "261"},
        {kVariableInteger, "Missing", "12x", 12, "12"},
        {kVariableText, "Text", "d", 0, "C:\\Tools"},
        {kVariableText, "Missing", "8 default", 8, "8 default"},
    };
    for (const Case& c : cases) {
        CleanVariableState clean;
        InstallerVariable& variable = declareVariable("<R>", c.kind, kVariableFromRegistry, c.defaultText, kHklm, "Software\\P", c.name);
        evaluated(variable);
        EXPECT_EQ(variable.valueInt, c.valueInt) << c.name;
        EXPECT_STREQ(variable.valueText.cStr(), c.valueText) << c.name;
    }
}

TEST_F(VariableEvaluationTest, FileSearchGivesTheFolderOrTheDrive)
{
    system_->files["game.exe"] = "D:\\Games\\Bin\\";
    for (const auto& [flags, result] : {std::pair{0u, "D:\\Games\\Bin"}, {2u, "D:"}}) {
        CleanVariableState clean;
        InstallerVariable& variable = declareVariable("<F>", kVariableText, kVariableFromFileSearch, "none", "game.exe", "C:\\<\\0>D:\\Games", "", flags);
        evaluated(variable);
        EXPECT_STREQ(variable.valueText.cStr(), result);
        EXPECT_EQ(variable.valueInt, 0) << "the number of a text variable follows its text";
    }
    InstallerVariable& integer = declareVariable("<G>", kVariableInteger, kVariableFromFileSearch, "", "game.exe", "D:\\Games");
    EXPECT_EQ(evaluated(integer).valueInt, 1);
    EXPECT_STREQ(integer.valueText.cStr(), "1");
}

TEST_F(VariableEvaluationTest, FileSearchWalksTheListedFoldersThenTheFixedDrives)
{
    system_->files["tool.dll"] = "E:\\Other\\";
    InstallerVariable& variable = declareVariable("<F>", kVariableText, kVariableFromFileSearch, "dflt", "tool.dll", "C:\\A<\\0>C:\\B\\");
    EXPECT_STREQ(evaluated(variable).valueText.cStr(), "E:\\Other");
    EXPECT_EQ(system_->searchedFolders, (std::vector<std::string>{"C:\\A\\", "C:\\B\\"}));
    EXPECT_EQ(system_->fixedDriveSearches, 1);

    // Bit 2: no fall-back; not found gives the default text and 0.
    InstallerVariable& local = declareVariable("<L>", kVariableInteger, kVariableFromFileSearch, "dflt", "tool.dll", "C:\\A", "", 4);
    evaluated(local);
    EXPECT_EQ(system_->fixedDriveSearches, 1);
    EXPECT_EQ(local.valueInt, 0);
    EXPECT_STREQ(local.valueText.cStr(), "0");
}

std::vector<std::string> notes;
int openNotes = 0;

TEST_F(VariableEvaluationTest, FileSearchShowsItsNoteUnlessSilent)
{
    notes.clear();
    openNotes = 0;
    setFileSearchNote({[](const char* text) -> void* {
                           notes.push_back(text);
                           ++openNotes;
                           return &openNotes;
                       },
                       [](void* note) { --*static_cast<int*>(note); }});
    const ByteString savedText = gLanguageTexts[175];
    gLanguageTexts[175].assignCStr("Searching %s...");
    // Names are UTF-8 inside the installer and reach the note as they are.
    declareVariable("<F1>", kVariableText, kVariableFromFileSearch, "", "caf\xC3\xA9.exe", "C:\\");
    evaluateVariable(0);
    // A package's own text, with conversions that have no argument left.
    declareVariable("<__Internal_FindingFile__>", kVariableText, kVariableKnown).valueText.assignCStr("Looking for %s %s %d");
    declareVariable("<F2>", kVariableText, kVariableFromFileSearch, "", "b.exe", "C:\\");
    evaluateVariable(2);
    gFlags.silent = true;
    declareVariable("<F3>", kVariableText, kVariableFromFileSearch, "", "c.exe", "C:\\");
    evaluateVariable(3);
    EXPECT_EQ(notes, (std::vector<std::string>{"Searching caf\xC3\xA9.exe...", "Looking for b.exe %s %d"}));
    EXPECT_EQ(openNotes, 0);
    gLanguageTexts[175] = savedText;
}

TEST_F(VariableEvaluationTest, AVariableNamingALaterOneEvaluatesItFirst)
{
    system_->ini["f.ini|S|Dir"] = "C:\\Data";
    InstallerVariable& file = declareVariable("<File>", kVariableText, kVariableFromIni, "<Dir>\\x.txt", "missing.ini", "S", "K");
    InstallerVariable& dir = declareVariable("<Dir>", kVariableText, kVariableFromIni, "", "f.ini", "S", "Dir");
    evaluateVariable(0);
    EXPECT_STREQ(file.valueText.cStr(), "C:\\Data\\x.txt");
    EXPECT_EQ(dir.state, kVariableKnown);
}

TEST_F(VariableEvaluationTest, TwoVariablesNamingEachOtherEnd)
{
    InstallerVariable& a = declareVariable("<A>", kVariableText, kVariableFromIni, "a<B>", "f.ini", "S", "A");
    InstallerVariable& b = declareVariable("<B>", kVariableText, kVariableFromIni, "b<A>", "f.ini", "S", "B");
    evaluateVariable(0);
    // B sees A while A is being evaluated: A's current (empty) value.
    EXPECT_STREQ(b.valueText.cStr(), "b");
    EXPECT_STREQ(a.valueText.cStr(), "ab");
}

TEST_F(VariableEvaluationTest, ALongChainOfNamesDoesNotExhaustTheStack)
{
    // Each variable's default names the next one, deeper than the stack could follow. (Wine
    // gives a process fewer movable memory blocks than 20000 variables need.)
#if defined(_WIN32)
    constexpr int kChain = 4000;
#else
    constexpr int kChain = 20000;
#endif
    for (int i = 0; i < kChain; ++i) {
        const std::string next = "<V" + std::to_string(i + 1) + ">";
        declareVariable(("<V" + std::to_string(i) + ">").c_str(), kVariableText, kVariableFromIni, ("x" + next).c_str(),
                        "f.ini", "S", "K");
    }
    ByteString text("<V0>");
    expandVariables(text, kAllVariables);
    // Where the nesting stops, the entry gives its current (empty) value and is read on its own
    // next use.
    const std::string xs(kMaxVariableNesting, 'x');
    EXPECT_EQ(std::string(text.cStr()), xs);
    EXPECT_EQ(gPackageToc.variables[0]->state, kVariableKnown);
    InstallerVariable& cut = *gPackageToc.variables[kMaxVariableNesting];
    EXPECT_EQ(cut.state, kVariableFromIni);
    EXPECT_EQ(std::string(getVariableText(cut.name.cStr())), xs);
    EXPECT_EQ(cut.state, kVariableKnown);
}

} // namespace
