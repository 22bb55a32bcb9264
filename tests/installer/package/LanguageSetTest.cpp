// Language sets written by the builder and read back; sets that do not lie whole in the file.
#include "installer/package/LanguageSet.h"
#include "installer/package/PackageLocate.h"

#include "PackageBuilder.h"

#include "installer/package/MemoryPackageSource.h"
#include "installer/text/TempFolder.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const ByteString& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

const Bytes kProgram(32, 0x90);

struct Package {
    MemoryPackageSource file;
    ByteString header;
};

Package packageWith(const char* languageSets)
{
    nlohmann::json description;
    description["languageSets"] = nlohmann::json::parse(languageSets);
    Package package{MemoryPackageSource(buildInstallerWithPackage(kProgram, description)), ByteString()};
    EXPECT_EQ(locatePackageIn(package.file, package.header).code, kLocateOk);
    return package;
}

const char* const kTwoSets = R"({"default": 1, "sets": [
    {"name": "English", "number": 1, "langId": 1033, "lines": ["Back", "Browse"]},
    {"name": "Deutsch", "number": 7, "langId": 1031, "lines": ["Zur\u00fcck", "<Product> entfernen", "Abbrechen<\\n>jetzt"]}]})";

} // namespace

TEST(LanguageSet, EachSetIsFoundBehindTheOnesBeforeIt)
{
    Package package = packageWith(kTwoSets);
    LanguageSet set;
    ASSERT_TRUE(readLanguageSet(package.file, package.header, 1, set));
    EXPECT_EQ(text(set.name), "Deutsch");
    EXPECT_EQ(set.languageNumber, 7);
    EXPECT_EQ(set.langId, 1031);
    ASSERT_EQ(set.lines.size(), 3u);
    EXPECT_EQ(text(set.lines[0]), "Zur\xc3\xbc" "ck");
    EXPECT_EQ(text(set.lines[1]), "<Product> entfernen");
    EXPECT_EQ(text(set.lines[2]), "Abbrechen<\\n>jetzt");

    ASSERT_TRUE(readLanguageSet(package.file, package.header, 0, set));
    EXPECT_EQ(text(set.name), "English");
    EXPECT_EQ(set.lines.size(), 2u);
}

TEST(LanguageSet, LinesAreExpandedThenTheEscapesReplaced)
{
    LanguageSet set;
    set.lines = {ByteString("Install <Product><\\t>now<\\r><\\n>"), ByteString("<\\n>")};
    std::array<ByteString, kLanguageTextCount> texts;
    texts[5] = ByteString("left from another language");
    applyLanguageSet(set, [](ByteString& line) { line.replace("<Product>", "Tool <\\t>"); }, texts);
    EXPECT_EQ(text(texts[0]), "Install Tool \t\tnow\r\n") << "an escape inside a value is replaced too";
    EXPECT_EQ(text(texts[1]), "\n");
    EXPECT_TRUE(texts[5].empty());
}

TEST(LanguageSet, OnlyTheFirstTwoHundredLinesAreKept)
{
    nlohmann::json lines = nlohmann::json::array();
    for (int i = 0; i < 250; ++i)
        lines.push_back("line " + std::to_string(i));
    nlohmann::json sets = {{"sets", {{{"name", "Long"}, {"lines", lines}}}}};
    Package package = packageWith(sets.dump().c_str());
    LanguageSet set;
    ASSERT_TRUE(readLanguageSet(package.file, package.header, 0, set));
    ASSERT_EQ(set.lines.size(), kLanguageTextCount);
    EXPECT_EQ(text(set.lines.back()), "line 199");
}

TEST(LanguageSet, DamagedSetsAreRefused)
{
    struct Case {
        const char* what;
        const char* sets;
        std::uint32_t index;
    };
    const Case cases[] = {
        {"an index past the sets", kTwoSets, 2},
        {"a table scrambled once", R"({"sets": [{"lines": ["a"], "scrambleCount": 1}]})", 0},
        {"a table not scrambled", R"({"sets": [{"lines": ["a"], "scrambleCount": 0}]})", 0},
        {"a size too short for its table", R"({"sets": [{"lines": ["a"], "sizeField": 20}]})", 0},
        {"a first set whose size skips past the file",
         R"({"sets": [{"lines": ["a"], "sizeField": 4294967295}, {"lines": ["b"]}]})", 1},
    };
    for (const Case& c : cases) {
        Package package = packageWith(c.sets);
        LanguageSet set;
        set.name = ByteString("unchanged");
        EXPECT_FALSE(readLanguageSet(package.file, package.header, c.index, set)) << c.what;
        EXPECT_EQ(text(set.name), "unchanged") << c.what;
    }
}

TEST(LanguageSet, LoadingASetFillsTheTextsAndMakesItsLanguageCurrent)
{
    CleanVariableState clean;
    TempFolder folder;
    const std::string path = folder.file("setup.exe");
    nlohmann::json description;
    description["languageSets"] = nlohmann::json::parse(kTwoSets);
    writeWholeFile(path, buildInstallerWithPackage(kProgram, description));
    gPackagePath.assignCStr(path.c_str());
    MemoryPackageSource file(readWholeFile(path));
    ASSERT_EQ(locatePackageIn(file, gPackageHeader).code, kLocateOk);
    setVariableText("<Product>", "Tool");
    gLanguageTexts[150] = ByteString("from before");

    ASSERT_TRUE(loadLanguageSet(1));
    EXPECT_EQ(text(gLanguageTexts[1]), "Tool entfernen");
    EXPECT_EQ(text(gLanguageTexts[2]), "Abbrechen\njetzt");
    EXPECT_TRUE(gLanguageTexts[150].empty());
    EXPECT_EQ(gPackageToc.languageNumber, 7);
    EXPECT_EQ(gPackageToc.languageSetLangId, 1031);
    EXPECT_STREQ(getVariableText("<LanguageID>"), "7");

    EXPECT_FALSE(loadLanguageSet(2));
    EXPECT_FALSE(loadLanguageSet(-1));
    EXPECT_EQ(gPackageToc.languageNumber, 7) << "a set that cannot be read changes nothing";
    EXPECT_EQ(text(gLanguageTexts[2]), "Abbrechen\njetzt");
    for (ByteString& entry : gLanguageTexts)
        entry = ByteString();
}
