// The language set chosen for the user's language before the first language page: exact match,
// primary-language match, the default set, and a set that cannot be read.
#include "installer/wizard/LanguageSetChoice.h"

#include "PackageBuilder.h"

#include "installer/package/MemoryPackageSource.h"
#include "installer/package/PackageLocate.h"
#include "installer/state/InstallerState.h"
#include "installer/text/TempFolder.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

LanguageSetReader setsServing(const std::vector<std::uint16_t>& langIds, std::uint32_t readable = 100)
{
    return [langIds, readable](std::uint32_t index) -> std::optional<LanguageSetOffer> {
        if (index >= langIds.size() || index >= readable)
            return std::nullopt;
        return LanguageSetOffer{static_cast<std::int32_t>(index + 1), langIds[index]};
    };
}

struct Case {
    const char* what;
    std::vector<std::uint16_t> sets;
    std::uint32_t defaultIndex;
    std::uint16_t user;
    std::int32_t taken;
    std::uint32_t readable = 100;
};

} // namespace

TEST(LanguageSetChoice, TakesTheSetThatFitsTheUsersLanguage)
{
    const Case cases[] = {
        {"German (Switzerland) takes the German set", {0x0409, 0x0407}, 0, 0x0807, 1},
        {"an exact match wins over an earlier primary match", {0x0409, 0x0407, 0x0807}, 0, 0x0807, 2},
        {"an exact match ends the search", {0x0807, 0x0407}, 0, 0x0807, 0},
        {"a later primary match replaces an earlier one", {0x0407, 0x0409, 0x0C07}, 1, 0x0807, 2},
        {"no match takes the default set", {0x0409, 0x040C, 0x0410}, 1, 0x0411, 1},
        {"a primary match before the default wins over it", {0x0807, 0x0409}, 1, 0x0407, 0},
        {"a default after a match does not replace it", {0x0C07, 0x0409}, 1, 0x0407, 0},
        {"a default index outside the sets takes none", {0x0409}, 5, 0x0411, -1},
        {"no sets take none", {}, 0, 0x0409, -1},
        {"an unreadable set ends the search with what was taken", {0x0409, 0x0407, 0x0807}, 0, 0x0807, 1, 2},
        {"an unreadable first set takes none", {0x0409}, 0, 0x0409, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pickLanguageSet(setsServing(c.sets, c.readable), static_cast<std::uint32_t>(c.sets.size()),
                                  c.defaultIndex, c.user),
                  c.taken)
            << c.what;
}

TEST(LanguageSetChoice, ThePackagesSetIsLoadedOrPreselectedOnce)
{
    CleanVariableState clean;
    TempFolder folder;
    const std::string path = folder.file("setup.exe");
    nlohmann::json description;
    description["languageSets"] = nlohmann::json::parse(R"({"default": 0, "sets": [
        {"name": "English", "number": 1, "langId": 1033, "lines": ["Back"]},
        {"name": "Deutsch", "number": 7, "langId": 1031, "lines": ["Zur\u00fcck"]}]})");
    writeWholeFile(path, buildInstallerWithPackage(Bytes(32, 0x90), description));
    gPackagePath.assignCStr(path.c_str());
    MemoryPackageSource file(readWholeFile(path));
    ASSERT_EQ(locatePackageIn(file, gPackageHeader).code, kLocateOk);

    for (const std::int32_t autoLoad : {0, 1}) {
        gMainInstaller.languageChosen = false;
        gPackageToc.languagePageAutoLoad = autoLoad;
        gPackageToc.languagePreselection = -1;
        gPackageToc.languageNumber = 0;
        gLanguageTexts[0] = ByteString();
        chooseLanguageSet(0x0807);
        EXPECT_TRUE(gMainInstaller.languageChosen);
        if (autoLoad) {
            EXPECT_EQ(gPackageToc.languageNumber, 7);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(gLanguageTexts[0].data()), gLanguageTexts[0].length()),
                      "Zur\xC3\xBC" "ck");
            EXPECT_EQ(gPackageToc.languagePreselection, -1);
        } else {
            EXPECT_EQ(gPackageToc.languagePreselection, 7);
            EXPECT_EQ(gPackageToc.languageNumber, 0) << "only preselected";
        }
        // Once chosen, a second call changes nothing.
        gPackageToc.languagePreselection = -1;
        chooseLanguageSet(0x0409);
        EXPECT_EQ(gPackageToc.languagePreselection, -1);
    }
    gMainInstaller.languageChosen = false;
    gPackageToc.languagePageAutoLoad = 0;
    gPackageToc.languageNumber = 0;
    gLanguageTexts[0] = ByteString();
}
