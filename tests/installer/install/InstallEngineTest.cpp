// The installation run: phases without their operations are listed as not performed (never as
// done), a failing phase or file fails the run, the free-space check, the totals a silent run
// takes from the package, the destination's root for free space, and the bars during a run.
#include "installer/install/InstallEngine.h"
#include "installer/install/FileInstallTestSupport.h"
#include "installer/system/FreeSpace.h"

namespace fs = std::filesystem;

namespace {

class InstallRunTest : public FileInstallTest {
protected:
    InstallRunTest() { gInstallOperations = InstallOperations(); }
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

TEST_F(InstallRunTest, PhasesWithoutOperationsAreListedAsNotPerformed)
{
    writePackage({{"files", {entry("a.txt", sampleContent(100))}}});
    gFlags.silent = true;
    bool iniWritten = false;
    gInstallOperations.writeIniEntries = [&] { return iniWritten = true; };

    EXPECT_EQ(runInstallation(nullptr), 1);
    EXPECT_TRUE(iniWritten);
    const auto& missing = gInstallRun.notPerformed;
    for (const char* phase : {"plug-in steps 1 to 10", "prerequisite setups", "registry", "text-file entries",
                              "shortcuts", "commit of the uninstall data", "plug-in steps 11 to 13"})
        EXPECT_TRUE(contains(missing, phase)) << phase;
    EXPECT_FALSE(contains(missing, "INI entries"));
    EXPECT_EQ(gInstallRun.phase, kPhaseRegistration);
    EXPECT_TRUE(fs::exists(installed("a.txt")));
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
    EXPECT_LE(overall.back(), 100);
    EXPECT_EQ(overall.back(), 99);
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
