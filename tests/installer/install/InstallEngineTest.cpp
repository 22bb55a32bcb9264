// The installation run: an operation not connected stops it before it changes anything, a
// failing phase or file fails the run, the closing steps with windows, the free-space check, the totals a silent run
// takes from the package, the destination's root for free space, and the bars during a run.
#include "installer/install/InstallEngine.h"
#include "installer/install/ConnectedOperations.h"
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/StepTestSupport.h"
#include "installer/system/FreeSpace.h"

namespace fs = std::filesystem;

namespace {

class InstallRunTest : public FileInstallTest {
protected:
    InstallRunTest() { gInstallOperations = connectedOperations(); }
    ~InstallRunTest() override
    {
        gInstallOperations = InstallOperations();
        gInstallView = InstallView();
        gPackageToc.bytesRequired = 0;
        gPackageToc.freeSpace = 0;
        setFreeSpaceOverride(nullptr);
        gLanguageTexts[133] = ByteString();
    }
};

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

TEST_F(InstallRunTest, AnOperationNotConnectedStopsTheRunBeforeItChangesAnything)
{
    writePackage({{"files", {entry("a.txt", sampleContent(100))}}});
    const std::pair<std::function<bool()> InstallOperations::*, const char*> operations[] = {
        {&InstallOperations::expandEntryTables, "variables in the entry tables"},
        {&InstallOperations::writeIniEntries, "INI entries"},
        {&InstallOperations::commitUninstallData, "commit of the uninstall data"},
        {&InstallOperations::convertMp3Files, "MP3 to WAV conversion"},
    };
    for (const bool silent : {true, false}) {
        for (const auto& [operation, name] : operations) {
            gFlags.silent = silent;
            gInstallOperations = connectedOperations();
            gInstallOperations.*operation = nullptr;
            errorBoxes.clear();
            EXPECT_EQ(runInstallation(nullptr), 0) << name;
            ASSERT_EQ(errorBoxes.size(), 1u) << name;
            EXPECT_NE(errorBoxes[0].find(name), std::string::npos) << errorBoxes[0];
            EXPECT_FALSE(fs::exists(destination)) << name;
        }
    }
    gInstallOperations = connectedOperations();
    gInstallOperations.notifyAssociationsChanged = nullptr;
    EXPECT_EQ(unconnectedOperations(gInstallOperations), std::vector<std::string>{"notice of changed file associations"});
    EXPECT_TRUE(unconnectedOperations(connectedOperations()).empty());
}

TEST_F(InstallRunTest, TheEntryTablesAreExpandedBeforeTheFirstFile)
{
    writePackage({{"files", {entry("a.txt", sampleContent(100))}}});
    bool fileThere = true;
    gInstallOperations.expandEntryTables = [&] {
        fileThere = fs::exists(installed("a.txt"));
        return true;
    };
    EXPECT_EQ(runInstallation(nullptr), 1);
    EXPECT_FALSE(fileThere);
    EXPECT_TRUE(fs::exists(installed("a.txt")));
}

// With windows the run ends by opening the program group when the package asks for it (and the
// group gets something), then takes the slideshow's image off.
TEST_F(InstallRunTest, AfterARunWithWindowsTheProgramGroupOpensAndTheSlideGoes)
{
    writePackage({{"files", nlohmann::json::array()}});
    RecordingStepSystem system;
    StepSystem* const previous = setStepSystem(&system);
    std::vector<std::string> ends;
    gInstallView.endSlideshow = [&] { ends.push_back(system.calls.empty() ? "slide off" : "slide off after " + system.calls.back()); };
    gPackageToc.shortcutDir = ByteString("Product");
    struct Case {
        std::uint32_t options;
        bool silent;
        bool opened;
    };
    const Case cases[] = {
        {kOptionOpenProgramGroup, false, true},
        {0, false, false},
        {kOptionOpenProgramGroup | kOptionNoUninstaller, false, false}, // no shortcut, no uninstaller
        {kOptionOpenProgramGroup, true, false},
    };
    for (const Case& c : cases) {
        gFlags.silent = c.silent;
        gInstallerContext.optionWord = c.options;
        system.calls.clear();
        ends.clear();
        EXPECT_EQ(runInstallation(nullptr), 1);
        ASSERT_EQ(system.calls.size(), c.opened ? 1u : 0u) << c.options;
        if (c.opened) {
            EXPECT_EQ(system.calls[0].rfind("shell open ", 0), 0u) << system.calls[0];
            EXPECT_NE(system.calls[0].find("Product\\"), std::string::npos) << system.calls[0];
        }
        EXPECT_EQ(ends.size(), c.silent ? 0u : 1u);
        if (c.opened && !ends.empty()) {
            EXPECT_EQ(ends[0].rfind("slide off after shell open", 0), 0u) << ends[0];
        }
    }
    setStepSystem(previous);
    gPackageToc.shortcutDir = ByteString();
}

TEST_F(InstallRunTest, TooLittleFreeSpaceEndsASilentRunBeforeAnyFile)
{
    writePackage({{"files", {entry("a.txt", sampleContent(100))}}});
    gFlags.silent = true;
    gPackageToc.bytesRequired = 5000;
    gPackageToc.freeSpace = 4999;
    bool prerequisitesChecked = false;
    gInstallOperations.prerequisites = [&] { return prerequisitesChecked = true; };

    EXPECT_EQ(runInstallation(nullptr), 0);
    EXPECT_TRUE(prerequisitesChecked);
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(InstallRunTest, AnUninstallerPathTooLongIsRefusedBeforeAnyFile)
{
    writePackage({{"files", {entry("a.txt", sampleContent(100))}}});
    ByteString kept = gPackageToc.uninstallerNameTemplate;
    const std::string name = std::string(260, 'u') + ".exe";
    gPackageToc.uninstallerNameTemplate.assignCStr(("<InstallDir>\\" + name).c_str());

    EXPECT_EQ(runInstallation(nullptr), 0);
    gPackageToc.uninstallerNameTemplate = kept;
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0].rfind("The uninstaller's path is longer than 259 bytes: ", 0), 0u) << errorBoxes[0];
    EXPECT_NE(errorBoxes[0].find(name), std::string::npos);
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(InstallRunTest, AFileThatFailedFailsTheRunAndIsNamed)
{
    nlohmann::json broken = entry("broken.bin", sampleContent(5000));
    broken["corrupt"] = "crc";
    writePackage({{"files", {entry("good.txt", sampleContent(100)), broken}}});
    // Nobody answers the question in a silent run.
    gFlags.silent = true;
    bool registryWritten = false;
    gInstallOperations.writeRegistry = [&] { return registryWritten = true; };

    EXPECT_EQ(runInstallation(nullptr), 0);
    EXPECT_FALSE(registryWritten);
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_NE(errorBoxes[0].find(installed("broken.bin")), std::string::npos);
    EXPECT_TRUE(fs::exists(installed("good.txt")));
}

// The person answered "go on" after the file's extraction failed: the run goes on without it and
// names it at its end.
TEST_F(InstallRunTest, AFileThePersonLetGoIsNamedAtTheEndOfARunThatGoesOn)
{
    nlohmann::json broken = entry("broken.bin", sampleContent(50000));
    broken.update({{"corrupt", "truncate"}, {"keep", 2000}});
    writePackage({{"files", {entry("good.txt", sampleContent(100)), broken}}});
    gFlags.silent = false;
    answerYes = true;
    bool committed = false;
    gInstallOperations.commitUninstallData = [&] { return committed = true; };

    EXPECT_EQ(runInstallation(nullptr), 1);
    EXPECT_TRUE(committed);
    ASSERT_FALSE(errorBoxes.empty());
    EXPECT_EQ(errorBoxes.back(), "These files could not be installed:\r\n" + installed("broken.bin"));
    EXPECT_TRUE(fs::exists(installed("good.txt")));
    EXPECT_FALSE(fs::exists(installed("broken.bin")));
}

TEST_F(InstallRunTest, RegistryErrorsFailTheRunAndShortcutErrorsDoNot)
{
    writePackage({{"files", nlohmann::json::array()}});
    gLanguageTexts[133] = ByteString("Registry failed");
    gInstallOperations.writeRegistry = [] { return false; };
    EXPECT_EQ(runInstallation(nullptr), 0);
    EXPECT_EQ(errorBoxes, std::vector<std::string>{"Registry failed"});

    gInstallOperations.writeRegistry = [] { return true; };
    gInstallOperations.createShortcuts = [] { return false; };
    bool committed = false;
    gInstallOperations.commitUninstallData = [&] { return committed = true; };
    EXPECT_EQ(runInstallation(nullptr), 1);
    EXPECT_TRUE(committed);
}

TEST_F(InstallRunTest, OldContentsAreDeletedOnlyAfterTheCommit)
{
    writePackage({{"files", {entry("app.exe", sampleContent(100))}}});
    writeText(installed("app.exe"), "old");
    gInstallOperations.commitUninstallData = [] { return false; };
    EXPECT_EQ(runInstallation(nullptr), 0);
    EXPECT_EQ(textOf(installed("app.exe") + ".old0"), "old");

    fs::remove(installed("app.exe") + ".old0");
    gInstallOperations.commitUninstallData = [this] { return fs::exists(installed("app.exe") + ".old0"); };
    EXPECT_EQ(runInstallation(nullptr), 1);
    EXPECT_FALSE(fs::exists(installed("app.exe") + ".old0"));
}

TEST_F(InstallRunTest, BarsOnlyMoveForwardAndStayWithinTheirEnds)
{
    const Bytes big = sampleContent(400000, 2), small = sampleContent(3000, 3);
    writePackage({{"files", {entry("big.txt", big), entry("small.txt", small), entry("raw.bin", small)}}});
    gPackageToc.otherBytes = 200000; // less than the files hold
    std::vector<std::int32_t> overall, phase;
    gInstallView.setOverallBar = [&](std::int32_t value) { overall.push_back(value); };
    gInstallView.setPhaseBar = [&](std::int32_t value) { phase.push_back(value); };
    // The overall bar's high mark lasts for the process: this run starts from a fresh one.
    gInstallRun.progress = ProgressTracker();

    EXPECT_EQ(runInstallation(nullptr), 1);
    ASSERT_FALSE(overall.empty());
    EXPECT_TRUE(std::is_sorted(overall.begin(), overall.end()));
    EXPECT_EQ(std::adjacent_find(overall.begin(), overall.end()), overall.end());
    EXPECT_EQ(overall.back(), 100);
    EXPECT_EQ(phase.back(), 100);
    for (std::int32_t value : phase)
        EXPECT_TRUE(value >= 0 && value <= 100) << value;
}

TEST_F(InstallRunTest, ASilentRunTakesTheTotalsOfItsInstallationType)
{
    writePackage({{"header", {{"fields", {{"200", 1000u}, {"204", 2000u}, {"208", 1u}, {"212", 2u}, {"224", 3u},
                                          {"216", 4u}, {"220", 5u}, {"228", 6u}}}}}});
    gPackageToc.installationType = kMinimalInstallation;
    applySelectedTotals();
    EXPECT_EQ(gPackageToc.bytesRequired, 1000u);
    EXPECT_EQ(gPackageToc.otherBytes, 3u);
    gPackageToc.installationType = kTypicalInstallation;
    applySelectedTotals();
    EXPECT_EQ(gPackageToc.bytesRequired, 2000u);
    EXPECT_EQ(gPackageToc.jpegBytes, 4u);
    EXPECT_EQ(gPackageToc.mp3Bytes, 5u);
    EXPECT_EQ(gPackageToc.otherBytes, 6u);
    gPackageToc.installationType = kCustomInstallation;
    gPackageToc.bytesRequired = 77;
    applySelectedTotals();
    EXPECT_EQ(gPackageToc.bytesRequired, 77u);
}

TEST_F(InstallRunTest, FreeSpaceIsMeasuredAtTheDestinationsOwnRoot)
{
    static std::vector<std::string> roots;
    roots.clear();
    setFreeSpaceOverride([](const char* root, int) -> std::optional<std::uint64_t> {
        roots.emplace_back(root);
        return 123;
    });
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\server\\share\\App\\", "\\\\server\\share\\App\\"},
        {"D:\\Programs\\App\\", "D:\\"},
    };
    for (const auto& [installDir, root] : cases) {
        gPackageToc.installDir = ByteString(installDir);
        EXPECT_EQ(destinationFreeSpace(), 123u);
        EXPECT_EQ(roots.back(), root);
    }
}

TEST_F(InstallRunTest, RenamesAtRestartAreHandedOverBySilentRunsAndLeftToTheFinishPageOtherwise)
{
    writePackage({{"files", nlohmann::json::array()}});
    const std::string pair = std::string("C:\\a.dll") + '\0' + "C:\\a.tmp" + '\0';
    int handedOver = 0;
    gInstallOperations.applyPendingRenames = [&] {
        ++handedOver;
        return true;
    };
    gUninstallLog.treeBuilt = false;
    for (const bool silent : {true, false}) {
        gFlags.silent = silent;
        gPackageToc.renamePairs = ByteString(reinterpret_cast<const std::uint8_t*>(pair.data()), static_cast<std::uint32_t>(pair.size()));
        EXPECT_EQ(runInstallation(nullptr), 1);
        EXPECT_EQ(handedOver, 1) << silent;
        EXPECT_EQ(contains(gInstallRun.notPerformed, "renames at restart"), !silent);
        EXPECT_TRUE(gUninstallLog.treeBuilt);
    }
    gUninstallLog.treeBuilt = false;
}
