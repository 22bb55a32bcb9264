// The table of contents: packages from the builder read back field by field (every entry kind,
// the registry trees depth first, the settings and switches), the result codes, and damaged or
// hostile tables that must end the read with -4 without reading outside the block.
#include "installer/package/TocTestSupport.h"
#include "installer/text/ByteStringTestSupport.h"

#include "Scramble.h"
#include "TocWriter.h"

#include <gtest/gtest.h>

#include <string>

using nlohmann::json;

namespace {

int readToc(const json& toc, TocState& state)
{
    return readPackageToc(json{{"toc", toc}}, state);
}

int readStored(const Bytes& stored, TocState& state)
{
    return readTocFromBlock(ByteString(stored.data(), static_cast<std::uint32_t>(stored.size())), state.targets());
}

void expectCondition(const ConditionPtr& c, std::uint32_t osFlags, const char* left, int op, const char* right)
{
    ASSERT_TRUE(c);
    EXPECT_EQ(c->osFlags, osFlags);
    ASSERT_EQ(c->comparisons.size(), 1u);
    EXPECT_EQ(str(c->comparisons[0].left), left);
    EXPECT_EQ(c->comparisons[0].op, op);
    EXPECT_EQ(str(c->comparisons[0].right), right);
}

// One entry of every list, each with a condition of its own.
json everyEntryKind()
{
    return json::parse(R"({
      "shortcuts": [{"target": "<InstallDir>\\app.exe", "shortcutFile": "<ShortcutDir>\\App.lnk",
                     "arguments": "/x", "workingFolder": "<InstallDir>", "icon": "<InstallDir>\\app.exe,1",
                     "condition": {"osFlags": 1, "comparisons": [{"left": "<A>", "op": 0, "right": "1"}]}}],
      "iniEntries": [{"file": "<WindowsDir>\\app.ini", "section": "Main", "line": "key=value",
                      "condition": {"osFlags": 32, "comparisons": [{"left": "<B>", "op": 1, "right": "2"}]}}],
      "textFileEntries": [{"mode": 3, "file": "a.txt", "searchText": "find", "lineText": "line",
                           "condition": {"osFlags": 536870912, "comparisons": [{"left": "<C>", "op": 2, "right": "3"}]}}],
      "stageFileOps": [{"type": 5, "source": "src", "destination": "dst", "step": 12,
                        "condition": {"osFlags": 1073741824, "comparisons": [{"left": "<D>", "op": 3, "right": "4"}]}}],
      "variables": [{"name": "<V1>", "kind": 1, "source": 0, "default": "7", "textA": "-2147483646",
                     "textB": "Software\\Maker", "textC": "Count", "flags": 2},
                    {"name": "<V2>", "kind": 0, "source": -1, "default": "plain"}],
      "stageActions": [{"type": 9, "text1": "t1", "text2": "t2", "text3": "t3", "step": 13, "runsLeft": 2,
                        "flags": 6, "windowTitle": "Title",
                        "condition": {"osFlags": 2147483649, "comparisons": [{"left": "<E>", "op": 6, "right": "\"x\""}]}},
                       {"type": 0, "step": 0}],
      "prerequisites": [{"kind": 4, "mode": 1, "requiredVersion": "2.0", "product": "Runtime",
                         "setup": "http://example.invalid/r.exe", "arguments": "/q",
                         "condition": {"osFlags": 64, "comparisons": [{"left": "<F>", "op": 7, "right": "4"}]}}]
    })");
}

} // namespace

TEST(TocRead, EveryEntryKindIsReadBackFieldByField)
{
    TocState s;
    ASSERT_EQ(readToc(everyEntryKind(), s), kTocRead);

    ASSERT_EQ(s.toc.shortcuts.size(), 1u);
    const ShortcutEntry& shortcut = s.toc.shortcuts[0];
    EXPECT_EQ(str(shortcut.target), "<InstallDir>\\app.exe");
    EXPECT_EQ(str(shortcut.shortcutFile), "<ShortcutDir>\\App.lnk");
    EXPECT_EQ(str(shortcut.arguments), "/x");
    EXPECT_EQ(str(shortcut.workingFolder), "<InstallDir>");
    EXPECT_EQ(str(shortcut.icon), "<InstallDir>\\app.exe,1");
    expectCondition(shortcut.condition, 1, "<A>", 0, "1");

    ASSERT_EQ(s.toc.iniEntries.size(), 1u);
    EXPECT_EQ(str(s.toc.iniEntries[0].file), "<WindowsDir>\\app.ini");
    EXPECT_EQ(str(s.toc.iniEntries[0].section), "Main");
    EXPECT_EQ(str(s.toc.iniEntries[0].line), "key=value");
    expectCondition(s.toc.iniEntries[0].condition, 32, "<B>", 1, "2");

    ASSERT_EQ(s.toc.textFileEntries.size(), 1u);
    EXPECT_EQ(s.toc.textFileEntries[0].mode, 3);
    EXPECT_EQ(str(s.toc.textFileEntries[0].file), "a.txt");
    EXPECT_EQ(str(s.toc.textFileEntries[0].searchText), "find");
    EXPECT_EQ(str(s.toc.textFileEntries[0].lineText), "line");
    expectCondition(s.toc.textFileEntries[0].condition, 0x20000000, "<C>", 2, "3");

    ASSERT_EQ(s.toc.stageFileOps.size(), 1u);
    EXPECT_EQ(s.toc.stageFileOps[0].type, 5);
    EXPECT_EQ(str(s.toc.stageFileOps[0].source), "src");
    EXPECT_EQ(str(s.toc.stageFileOps[0].destination), "dst");
    EXPECT_EQ(s.toc.stageFileOps[0].step, 12);
    expectCondition(s.toc.stageFileOps[0].condition, 0x40000000, "<D>", 3, "4");

    ASSERT_EQ(s.toc.variables.size(), 2u);
    const InstallerVariable& v1 = *s.toc.variables[0];
    EXPECT_EQ(str(v1.name), "<V1>");
    EXPECT_EQ(v1.kind, kVariableInteger);
    EXPECT_EQ(v1.state, kVariableFromRegistry);
    EXPECT_EQ(str(v1.defaultText), "7");
    EXPECT_EQ(str(v1.textA), "-2147483646");
    EXPECT_EQ(str(v1.textB), "Software\\Maker");
    EXPECT_EQ(str(v1.textC), "Count");
    EXPECT_EQ(v1.flags, 2u);
    EXPECT_TRUE(v1.valueText.empty());
    EXPECT_EQ(str(s.toc.variables[1]->name), "<V2>");
    EXPECT_EQ(s.toc.variables[1]->state, kVariableKnown);
    EXPECT_EQ(str(s.toc.variables[1]->defaultText), "plain");
    EXPECT_TRUE(s.toc.variables[1]->valueText.empty());

    ASSERT_EQ(s.toc.stageActions.size(), 2u);
    const StageAction& action = s.toc.stageActions[0];
    EXPECT_EQ(action.type, 9);
    EXPECT_EQ(str(action.text1), "t1");
    EXPECT_EQ(str(action.text2), "t2");
    EXPECT_EQ(str(action.text3), "t3");
    EXPECT_EQ(action.step, 13);
    EXPECT_EQ(action.runsLeft, 2);
    EXPECT_EQ(action.flags, 6u);
    EXPECT_EQ(str(action.windowTitle), "Title");
    expectCondition(action.condition, 0x80000001, "<E>", 6, "\"x\"");
    EXPECT_EQ(s.toc.stageActions[1].runsLeft, -1);
    EXPECT_FALSE(s.toc.stageActions[1].condition);

    ASSERT_EQ(s.toc.prerequisites.size(), 1u);
    const Prerequisite& prerequisite = s.toc.prerequisites[0];
    EXPECT_EQ(prerequisite.kind, 4);
    EXPECT_EQ(prerequisite.mode, 1);
    EXPECT_EQ(str(prerequisite.requiredVersion), "2.0");
    EXPECT_EQ(str(prerequisite.product), "Runtime");
    EXPECT_EQ(str(prerequisite.setup), "http://example.invalid/r.exe");
    EXPECT_EQ(str(prerequisite.arguments), "/q");
    expectCondition(prerequisite.condition, 64, "<F>", 7, "4");
}

TEST(TocRead, VariablesAreAppendedAfterThoseAlreadyListed)
{
    TocState s;
    s.toc.variables.push_back(std::make_unique<InstallerVariable>());
    s.toc.variables[0]->name = ByteString("<Earlier>");
    ASSERT_EQ(readToc(json::parse(R"({"variables": [{"name": "<Later>", "source": 2}]})"), s), kTocRead);
    ASSERT_EQ(s.toc.variables.size(), 2u);
    EXPECT_EQ(str(s.toc.variables[0]->name), "<Earlier>");
    EXPECT_EQ(str(s.toc.variables[1]->name), "<Later>");
    EXPECT_EQ(s.toc.variables[1]->state, kVariableFromFileSearch);
}

TEST(TocRead, ConditionsWithoutComparisonsAndStoredZeroFlags)
{
    TocState s;
    // osFlags 0 is no condition and no count follows it; non-zero flags may have no comparisons.
    ASSERT_EQ(readToc(json::parse(R"({"iniEntries": [
        {"file": "a", "condition": {"osFlags": 0}},
        {"file": "b", "condition": {"osFlags": 1}},
        {"file": "c", "condition": {"osFlags": 2147483648, "comparisons": [
            {"left": "<X>", "op": 0, "right": "1"}, {"left": "<Y>", "op": 4, "right": "\"2\""}]}}]})"),
                      s),
              kTocRead);
    ASSERT_EQ(s.toc.iniEntries.size(), 3u);
    EXPECT_FALSE(s.toc.iniEntries[0].condition);
    ASSERT_TRUE(s.toc.iniEntries[1].condition);
    EXPECT_EQ(s.toc.iniEntries[1].condition->osFlags, 1u);
    EXPECT_TRUE(s.toc.iniEntries[1].condition->comparisons.empty());
    const ConditionPtr& two = s.toc.iniEntries[2].condition;
    ASSERT_TRUE(two);
    ASSERT_EQ(two->comparisons.size(), 2u);
    EXPECT_EQ(str(two->comparisons[1].left), "<Y>");
    EXPECT_EQ(two->comparisons[1].op, 4);
    EXPECT_EQ(str(two->comparisons[1].right), "\"2\"");
}

TEST(TocRead, RegistryTreesAreReadDepthFirstUnderTheirRoots)
{
    TocState s;
    const json toc = json::parse(R"({"registry": {
      "HKEY_CLASSES_ROOT": {"values": [{"name": ".kv", "data": "KvFile", "type": 2}]},
      "HKEY_LOCAL_MACHINE": {
        "subkeys": [
          {"name": "Software", "flags": 1,
           "values": [{"name": "top", "data": "1", "type": 1, "flags": 4,
                       "condition": {"osFlags": 1, "comparisons": [{"left": "<Q>", "op": 0, "right": "1"}]}}],
           "subkeys": [
             {"name": "Maker", "condition": {"osFlags": 256},
              "values": [{"name": "bin", "data": "0102", "type": 0}, {"name": "multi", "data": "a", "type": 3}],
              "subkeys": [{"name": "Product", "values": [{"name": "path", "data": "<InstallDir>", "type": 4}]}]}
           ]},
          {"name": "System", "values": [{"name": "odd", "data": "x", "type": 9}]}
        ]},
      "HKEY_USERS": {"subkeys": [{"name": ".DEFAULT"}]}
    }})");
    ASSERT_EQ(readToc(toc, s), kTocRead);

    const auto& roots = s.toc.registryRoots;
    EXPECT_EQ(roots[0].rootKey, 0x80000000u);
    EXPECT_EQ(roots[1].rootKey, 0x80000001u);
    EXPECT_EQ(roots[2].rootKey, 0x80000002u);
    EXPECT_EQ(roots[3].rootKey, 0x80000003u);
    ASSERT_EQ(roots[0].values.size(), 1u);
    EXPECT_EQ(str(roots[0].values[0].data), "KvFile");
    EXPECT_EQ(roots[0].values[0].type, kRegistryString);
    EXPECT_TRUE(roots[1].values.empty() && roots[1].subkeys.empty());

    // HKLM\Software (its values, then Maker with its values and Product) comes before HKLM\System.
    ASSERT_EQ(roots[2].subkeys.size(), 2u);
    const RegistryNode& software = roots[2].subkeys[0];
    EXPECT_EQ(str(software.name), "Software");
    EXPECT_EQ(software.rootKey, 0x80000002u);
    EXPECT_EQ(software.flags, 1u);
    EXPECT_EQ(software.state, 0);
    EXPECT_FALSE(software.condition);
    ASSERT_EQ(software.values.size(), 1u);
    EXPECT_EQ(software.values[0].type, kRegistryDword);
    EXPECT_EQ(software.values[0].flags, 4u);
    EXPECT_EQ(software.values[0].resultFlags, 0u);
    expectCondition(software.values[0].condition, 1, "<Q>", 0, "1");
    ASSERT_EQ(software.subkeys.size(), 1u);
    const RegistryNode& maker = software.subkeys[0];
    EXPECT_EQ(str(maker.name), "Maker");
    EXPECT_EQ(maker.rootKey, 0x80000002u);
    ASSERT_TRUE(maker.condition);
    EXPECT_EQ(maker.condition->osFlags, 0x100u);
    ASSERT_EQ(maker.values.size(), 2u);
    EXPECT_EQ(maker.values[0].type, kRegistryBinary);
    EXPECT_EQ(maker.values[1].type, kRegistryMultiString);
    ASSERT_EQ(maker.subkeys.size(), 1u);
    ASSERT_EQ(maker.subkeys[0].values.size(), 1u);
    EXPECT_EQ(str(maker.subkeys[0].values[0].data), "<InstallDir>");
    EXPECT_EQ(maker.subkeys[0].values[0].type, kRegistryExpandString);
    const RegistryNode& system = roots[2].subkeys[1];
    EXPECT_EQ(str(system.name), "System");
    ASSERT_EQ(system.values.size(), 1u);
    EXPECT_EQ(system.values[0].type, 9) << "an unknown stored type is kept";
    ASSERT_EQ(roots[3].subkeys.size(), 1u);
    EXPECT_EQ(roots[3].subkeys[0].rootKey, 0x80000003u);

    // Values: .kv, top, bin, multi, path, odd = 6; keys: Software, Maker, Product, System,
    // .DEFAULT = 5.
    EXPECT_EQ(s.toc.registryEntryCount, 11);
}

TEST(TocRead, RegistryNestingIsLimitedToWhatTheRegistryHolds)
{
    // Keys nested 512 deep are read; one more level is refused as damage.
    for (const auto& [depth, code] : {std::pair{512, kTocRead}, std::pair{513, kTocDamaged}}) {
        json key = json{{"name", "k"}, {"values", json::array({json{{"name", "leaf"}}})}};
        for (int i = 1; i < depth; ++i)
            key = json{{"name", "k"}, {"subkeys", json::array({key})}};
        TocState s;
        EXPECT_EQ(readToc(json{{"registry", {{"HKEY_CURRENT_USER", {{"subkeys", json::array({key})}}}}}}, s), code)
            << depth;
        if (code == kTocRead) {
            EXPECT_EQ(s.toc.registryEntryCount, depth + 1);
        }
    }
}

TEST(TocRead, ResultCodes)
{
    const struct {
        const char* name;
        const char* description;
        int code;
    } cases[] = {
        {"valid", R"({"toc": {}})", kTocRead},
        {"no table", R"({})", kTocNotInHeader},
        {"offset 0", R"({"toc": {}, "header": {"fields": {"0": 0}}})", kTocNotInHeader},
        {"length 0", R"({"toc": {}, "header": {"fields": {"4": 0}}})", kTocNotInHeader},
        {"length past the end of the file", R"({"toc": {}, "header": {"fields": {"4": 4294967295}}})", kTocNotLoaded},
        {"offset past the end of the file", R"({"toc": {}, "header": {"fields": {"0": 4294967280}}})", kTocNotLoaded},
        {"scrambled once", R"({"toc": {"scrambleCount": 1}})", kTocDamaged},
        {"not scrambled", R"({"toc": {"scrambleCount": 0}})", kTocDamaged},
        {"empty table", R"({"toc": {"rawPlainHex": ""}})", kTocDamaged},
        {"a count and nothing else", R"({"toc": {"rawPlainHex": "00000000"}})", kTocDamaged},
    };
    for (const auto& c : cases) {
        TocState s;
        EXPECT_EQ(readPackageToc(json::parse(c.description), s), c.code) << c.name;
    }
}

TEST(TocRead, AnyChangedStoredByteFailsTheChecks)
{
    const Bytes stored = storedTocFromDescription(everyEntryKind());
    for (std::size_t at = 0; at < stored.size(); at += 7) {
        Bytes damaged = stored;
        damaged[at] ^= 0x01;
        TocState s;
        EXPECT_EQ(readStored(damaged, s), kTocDamaged) << "byte " << at;
    }
}

TEST(TocRead, ATableCutAnywhereEndsTheReadWithDamage)
{
    json toc = everyEntryKind();
    toc["registry"] = json::parse(R"({"HKEY_CURRENT_USER": {"values": [{"name": "v", "data": "d", "type": 1}],
        "subkeys": [{"name": "k", "condition": {"osFlags": 1, "comparisons": [{"left": "a", "op": 0, "right": "b"}]},
                     "subkeys": [{"name": "inner"}]}]}})");
    toc["settings"] = json::parse(R"({"productName": "P", "installDir": "D", "javaVersion": "1.4",
        "innerInstallerPath": "I", "thirdFinishItem": "T"})");
    const Bytes plain = plainTocFromDescription(toc);
    {
        TocState whole;
        ASSERT_EQ(readStored(scrambleTwice(plain), whole), kTocRead);
    }
    for (std::size_t length = 0; length < plain.size(); ++length) {
        TocState s;
        const Bytes cut(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(readStored(scrambleTwice(cut), s), kTocDamaged) << "cut at " << length;
    }
}

TEST(TocRead, HostileCountsAreRefusedBeforeAnythingIsReserved)
{
    // An empty table: per root its value and subkey counts (eight words), then the seven list
    // counts, then the settings. Each count in turn is made huge.
    const Bytes empty = plainTocFromDescription(json::object());
    for (std::size_t at = 0; at < 15 * 4; at += 4) {
        for (std::uint32_t count : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x01000000u}) {
            Bytes hostile = empty;
            for (int i = 0; i < 4; ++i)
                hostile[at + i] = static_cast<std::uint8_t>(count >> (24 - 8 * i));
            TocState s;
            EXPECT_EQ(readStored(scrambleTwice(hostile), s), kTocDamaged) << "count at " << at << ": " << count;
        }
    }
    for (int count : {-1, 0x7FFFFFFF, 1000}) {
        TocState s;
        const json toc = {{"iniEntries", json::array({json{{"file", "f"}, {"condition", {{"osFlags", 1}, {"count", count}}}}})}};
        EXPECT_EQ(readToc(toc, s), kTocDamaged) << "comparison count " << count;
    }
}
