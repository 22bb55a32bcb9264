// The settings at the end of the table of contents: every named setting lands in its field, and
// the switches map onto the option word, the background flags and the required devices in the
// order they are stored.
#include "installer/package/TocTestSupport.h"
#include "installer/text/ByteStringTestSupport.h"

#include <gtest/gtest.h>

using nlohmann::json;

namespace {

int readSettings(const json& settings, TocState& state)
{
    return readPackageToc(json{{"toc", {{"settings", settings}}}}, state);
}

// Every setting a distinct value, so that a field read from its neighbour's place shows.
json distinctSettings()
{
    return json::parse(R"({
      "unused": 4294967295, "productId": "kv-piano", "productName": "Korvanel Piano",
      "reportedProductKey": "Maker\\Other", "reportedProductName": "Other Product",
      "installDir": "<ProgramFiles>\\Korvanel", "destinationRegistryRoot": 2147483650,
      "destinationKey": "Software\\Maker\\Korvanel", "destinationValueName": "Path",
      "shortcutDir": "Korvanel", "windowTitle": "Korvanel Setup", "title": "Korvanel",
      "subtitle": "Piano", "footer": "(c) Maker", "programToStart": "<InstallDir>\\Korvanel.exe",
      "readmeToOpen": "<InstallDir>\\readme.txt", "productRegistryRoot": 2147483649,
      "productKey": "Software\\Maker\\Product", "versionValueName": "Version",
      "updatableVersions": "1.0|1.1", "versionToInstall": "1.2", "versionShown": "1.2 beta",
      "pluginSettings": "plugin=1", "languagePageCaption": "Language", "languagePagePrompt": "Choose",
      "languagePageAutoLoad": 1, "uninstallerName": "<InstallDir>\\uninst.exe",
      "uninstallDataSettings": "settings", "topColour": 16711680, "splitColour": 65280,
      "bottomColour": 255, "splitPercent": 40, "imageX": 2147483658, "imageY": 20,
      "titleColour": 1, "titleShadowColour": 16777215, "subtitleColour": 3,
      "subtitleShadowColour": 4, "footerColour": 5,
      "probes": 16383, "cpuMHz": 300, "cpuVendor": 2, "cpuType": 512, "cpuFeatures": 8388608,
      "ramMB": 64, "osFlags": 4, "minBuild9x": 1998, "ntMajor": 5, "ntMinor": 1, "ntServicePack": 2,
      "directX": 524288, "displayWidth": 800, "displayHeight": 600, "displayBits": 16, "dotNet": 2,
      "javaVersion": "1.4", "unusedRequirement1": 91, "unusedRequirement2": 92, "unusedRequirement3": 93,
      "userInfoOptions": 7, "defaultOverwriteMode": -1, "packageOptions": 70,
      "extractorMode": 1, "innerInstallerPath": "<ResourceDir>\\installer\\setup.exe",
      "runFromFolderMode": 2, "systemPageOnlyOnProblems": 3, "autorun": 4, "registryView64": 5,
      "adminRequired": 6, "privilegesQuiet": 7, "thirdFinishItem": "<InstallDir>\\extra.exe",
      "normalInstallFallback": 8, "licenseNextButtonText": 9, "silentRunNeedsLicense": 10,
      "slideshowArea": 2, "slideshowAlignment": 3, "slideshowOffsetX": -5, "slideshowOffsetY": 6,
      "slideshowDuration": 30, "pageAlignment": 4
    })");
}

} // namespace

TEST(TocSettings, EveryNamedSettingLandsInItsField)
{
    TocState s;
    s.context.systemProbesState = 9;
    s.toc.languagePreselection = 3;
    s.toc.installationType = 4;
    ASSERT_EQ(readSettings(distinctSettings(), s), kTocRead);

    const PackageToc& t = s.toc;
    EXPECT_EQ(str(t.productId), "kv-piano");
    EXPECT_EQ(str(t.productName), "Korvanel Piano");
    EXPECT_EQ(str(t.reportedProductKey), "Maker\\Other");
    EXPECT_EQ(str(t.reportedProductName), "Other Product");
    EXPECT_EQ(str(t.installDir), "<ProgramFiles>\\Korvanel");
    EXPECT_EQ(t.destinationRegistryRoot, 0x80000002u);
    EXPECT_EQ(str(t.destinationKey), "Software\\Maker\\Korvanel");
    EXPECT_EQ(str(t.destinationValueName), "Path");
    EXPECT_EQ(str(t.shortcutDir), "Korvanel");
    EXPECT_EQ(t.productRegistryRoot, 0x80000001u);
    EXPECT_EQ(str(t.productKey), "Software\\Maker\\Product");
    EXPECT_EQ(str(t.versionValueName), "Version");
    EXPECT_EQ(str(t.updatableVersions), "1.0|1.1");
    EXPECT_EQ(str(t.versionToInstall), "1.2");
    EXPECT_EQ(str(t.versionShown), "1.2 beta");
    EXPECT_EQ(str(t.pluginSettings), "plugin=1");
    EXPECT_EQ(str(t.languagePageCaption), "Language");
    EXPECT_EQ(str(t.languagePagePrompt), "Choose");
    EXPECT_EQ(t.languagePageAutoLoad, 1);
    EXPECT_EQ(str(t.uninstallerNameTemplate), "<InstallDir>\\uninst.exe");
    EXPECT_EQ(str(t.uninstallDataSettings), "settings");
    EXPECT_EQ(t.extractorMode, 1);
    EXPECT_EQ(str(t.innerInstallerPath), "<ResourceDir>\\installer\\setup.exe");
    EXPECT_EQ(t.runFromFolderMode, 2);
    EXPECT_EQ(t.autorun, 4);
    EXPECT_EQ(t.registryView64, 5);
    EXPECT_EQ(t.privilegesQuiet, 7);
    EXPECT_EQ(t.normalInstallFallback, 8);
    EXPECT_EQ(t.licenseNextButtonText, 9);
    EXPECT_EQ(t.silentRunNeedsLicense, 10);
    EXPECT_EQ(t.languagePreselection, -1);
    EXPECT_EQ(t.installationType, 2);

    const InstallerContext& c = s.context;
    EXPECT_EQ(str(c.programToStart), "<InstallDir>\\Korvanel.exe");
    EXPECT_EQ(str(c.readmeToOpen), "<InstallDir>\\readme.txt");
    EXPECT_EQ(c.userInfoOptions, 7u);
    EXPECT_EQ(c.defaultOverwriteMode, -1);
    EXPECT_EQ(c.packageOptions, 70u);
    EXPECT_EQ(c.systemPageOnlyOnProblems, 3);
    EXPECT_EQ(c.systemProbesState, 0);
    EXPECT_EQ(str(c.minimumJavaVersion), "1.4");
    EXPECT_EQ(str(c.thirdFinishItem), "<InstallDir>\\extra.exe");
    EXPECT_EQ(c.optionWord, 0u);

    const BackgroundStyle& b = s.background;
    EXPECT_EQ(str(b.windowTitle), "Korvanel Setup");
    EXPECT_EQ(str(b.title), "Korvanel");
    EXPECT_EQ(str(b.subtitle), "Piano");
    EXPECT_EQ(str(b.footer), "(c) Maker");
    EXPECT_EQ(b.topColour, 0xFF0000u);
    EXPECT_EQ(b.splitColour, 0x00FF00u);
    EXPECT_EQ(b.bottomColour, 0x0000FFu);
    EXPECT_EQ(b.splitPercent, 40u);
    EXPECT_EQ(b.imageX, 0x8000000Au);
    EXPECT_EQ(b.imageY, 20u);
    EXPECT_EQ(b.titleColour, 1u);
    EXPECT_EQ(b.titleShadowColour, 0xFFFFFFu);
    EXPECT_EQ(b.subtitleColour, 3u);
    EXPECT_EQ(b.subtitleShadowColour, 4u);
    EXPECT_EQ(b.footerColour, 5u);
    EXPECT_EQ(b.flags, 0u);

    const SystemRequirements& r = s.requirements;
    EXPECT_EQ(r.probes, 0x3FFFu);
    EXPECT_EQ(r.cpuMHz, 300u);
    EXPECT_EQ(r.cpuVendor, 2u);
    EXPECT_EQ(r.cpuType, 512u);
    EXPECT_EQ(r.cpuFeatures, 0x800000u);
    EXPECT_EQ(r.ramMB, 64u);
    EXPECT_EQ(r.osFlags, 4u);
    EXPECT_EQ(r.minBuild9x, 1998u);
    EXPECT_EQ(r.ntMajor, 5u);
    EXPECT_EQ(r.ntMinor, 1u);
    EXPECT_EQ(r.ntServicePack, 2u);
    EXPECT_EQ(r.directX, 0x80000u);
    EXPECT_EQ(r.displayWidth, 800u);
    EXPECT_EQ(r.displayHeight, 600u);
    EXPECT_EQ(r.displayBits, 16u);
    EXPECT_EQ(r.dotNet, 2u);
    EXPECT_EQ(r.devices, 0u);
    EXPECT_EQ(r.adminRequired, 6u);

    EXPECT_EQ(s.slideshow.area, 2);
    EXPECT_EQ(s.slideshow.alignment, 3);
    EXPECT_EQ(s.slideshow.offsetX, -5);
    EXPECT_EQ(s.slideshow.offsetY, 6);
    EXPECT_EQ(s.slideshow.durationSeconds, 30);
    EXPECT_EQ(s.slideshow.pageAlignment, 4);
    EXPECT_FALSE(s.flags.silent);
}

TEST(TocSettings, EachStoredSwitchSetsItsOwnOptionBit)
{
    // The stored switch positions: 17 switches for bits 0-16, the silent switch (not an option
    // bit), then ten switches for bits 17, 18, 19, 20, 22, 23, 24, 25, 26, 28. Bits 21 and 27
    // come from settings of their own.
    const std::uint32_t laterBits[] = {17, 18, 19, 20, 22, 23, 24, 25, 26, 28};
    for (int position = 0; position < 27; ++position) {
        const std::uint32_t expectedBit = position < 17 ? position : laterBits[position - 17];
        json switches = json::array();
        for (int i = 0; i < 27; ++i)
            switches.push_back(i == position);
        TocState s;
        ASSERT_EQ(readSettings(json{{"optionSwitches", switches}}, s), kTocRead);
        EXPECT_EQ(s.context.optionWord, 1u << expectedBit) << "stored switch " << position;
        EXPECT_FALSE(s.flags.silent) << "stored switch " << position;
    }
    const struct {
        const char* setting;
        std::uint32_t bit;
    } named[] = {{"destinationFromRegistry", 21}, {"thirdFinishItemSwitch", 27}};
    for (const auto& n : named) {
        TocState s;
        ASSERT_EQ(readSettings(json{{n.setting, 1}}, s), kTocRead);
        EXPECT_EQ(s.context.optionWord, 1u << n.bit) << n.setting;
    }
    TocState all;
    json allSwitches = json::array();
    for (int i = 0; i < 27; ++i)
        allSwitches.push_back(true);
    ASSERT_EQ(readSettings(json{{"optionSwitches", allSwitches}, {"destinationFromRegistry", 7},
                                {"thirdFinishItemSwitch", true}},
                           all),
              kTocRead);
    EXPECT_EQ(all.context.optionWord, 0x1FFFFFFFu);
}

TEST(TocSettings, BackgroundAndDeviceSwitchesSetTheirBits)
{
    const struct {
        const char* setting;
        bool isBackgroundFlag;
        std::uint32_t expected;
    } cases[] = {
        {"backgroundFullScreen", true, 0x1},
        {"backgroundDrawn", true, 0x2},
        {"backgroundStretchImage", true, 0x4},
        {"backgroundTileImage", true, 0x8},
        {"backgroundCaption", true, 0x10},
        {"backgroundTransparentImage", true, 0x40},
        {"needsJoystick", false, 0x1},
        {"needsSoundOutput", false, 0x2},
        {"needsMidiOutput", false, 0x4},
    };
    for (const auto& c : cases) {
        TocState s;
        ASSERT_EQ(readSettings(json{{c.setting, 1}}, s), kTocRead) << c.setting;
        const std::uint32_t background = s.background.flags;
        const std::uint32_t devices = s.requirements.devices;
        EXPECT_EQ(c.isBackgroundFlag ? background : devices, c.expected) << c.setting;
        EXPECT_EQ(c.isBackgroundFlag ? devices : background, 0u) << c.setting;
        EXPECT_EQ(s.context.optionWord, 0u) << c.setting;
    }
}

TEST(TocSettings, TheSilentSwitchTurnsSilentModeOnButNeverOff)
{
    const struct {
        bool fromCommandLine;
        bool stored;
        bool expected;
    } cases[] = {{false, false, false}, {false, true, true}, {true, false, true}, {true, true, true}};
    for (const auto& c : cases) {
        TocState s;
        s.flags.silent = c.fromCommandLine;
        ASSERT_EQ(readSettings(json{{"silent", c.stored}}, s), kTocRead);
        EXPECT_EQ(s.flags.silent, c.expected) << c.fromCommandLine << c.stored;
        EXPECT_EQ(s.context.optionWord, 0u);
    }
}
