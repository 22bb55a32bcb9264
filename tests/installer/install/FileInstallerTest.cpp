// The file walk on real files: folders made, empty, raw, deflated and zipped members placed,
// the uninstall log listing exactly what was placed; members that fail to decode leave the old
// file as it was and nothing partial; a failing member across volumes, a missing volume, a
// damaged record, a path leaving its folder; the selection by installation type and components.
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/RegistrationQueue.h"
#include "installer/state/UninstallLists.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

class FileWalk : public FileInstallTest {};

} // namespace

TEST_F(FileWalk, NestedFoldersEmptyFilesAndEveryStorageArePlacedAndLogged)
{
    const Bytes deep = sampleContent(100000, 3), raw = sampleContent(5000, 4), zipped = sampleContent(70000, 5);
    nlohmann::json files = nlohmann::json::array();
    files.push_back(entry("a/b/c/deep.txt", deep));
    files.push_back(entry("empty.txt", {}));
    files.back()["storage"] = "raw";
    files.push_back(entry("raw.bin", raw));
    files.back()["storage"] = "raw";
    files.push_back(entry("z/zip.dat", zipped));
    files.back()["storage"] = "zip";
    writePackage({{"files", files}});
    gPackageToc.otherBytes = deep.size() + raw.size() + zipped.size();

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(fileBytes(installed("a/b/c/deep.txt")), deep);
    EXPECT_TRUE(fs::exists(installed("empty.txt")));
    EXPECT_EQ(fs::file_size(installed("empty.txt")), 0u);
    EXPECT_EQ(fileBytes(installed("raw.bin")), raw);
    EXPECT_EQ(fileBytes(installed("z/zip.dat")), zipped);
    EXPECT_EQ(filesBelow(destination),
              (std::vector<std::string>{"a/b/c/deep.txt", "empty.txt", "raw.bin", "z/zip.dat"}));
    EXPECT_EQ(loggedFiles(), (std::vector<std::string>{installed("a/b/c/deep.txt"), installed("empty.txt"),
                                                       installed("raw.bin"), installed("z/zip.dat")}));
    const std::vector<std::string> folders = listEntries(gUninstallLog.directories);
    EXPECT_NE(std::find(folders.begin(), folders.end(), installed("a/b/c")), folders.end());
    EXPECT_NE(std::find(folders.begin(), folders.end(), installed("z")), folders.end());
    EXPECT_TRUE(gInstallRun.failedFiles.empty());
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_EQ(gInstallRun.bytesCopied, gPackageToc.otherBytes);
}

struct CorruptCase {
    const char* name;
    nlohmann::json damage;
};

class CorruptMembers : public FileInstallTest, public ::testing::WithParamInterface<CorruptCase> {};

TEST_P(CorruptMembers, OldFileStaysNothingPartialIsLeftAndTheWalkGoesOn)
{
    const Bytes content = sampleContent(90000, 6), after = sampleContent(3000, 7);
    nlohmann::json replacing = entry("keep.txt", content), fresh = entry("new.txt", content);
    replacing.update(GetParam().damage);
    fresh.update(GetParam().damage);
    writePackage({{"files", {replacing, entry("after.txt", after), fresh}}});
    // Any question of the decoder is answered Yes, as in a silent run.
    answerYes = true;
    gFlags.silent = true;
    writeText(installed("keep.txt"), "old content");

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(textOf(installed("keep.txt")), "old content");
    EXPECT_EQ(fileBytes(installed("after.txt")), after);
    EXPECT_EQ(filesBelow(destination), (std::vector<std::string>{"after.txt", "keep.txt"}));
    EXPECT_EQ(loggedFiles(), std::vector<std::string>{installed("after.txt")});
    EXPECT_EQ(gInstallRun.failedFiles, (std::vector<std::string>{installed("keep.txt"), installed("new.txt")}));
}

const CorruptCase kCorruptCases[] = {
    {"BadCrc", {{"corrupt", "crc"}}},
    {"BadLength", {{"corrupt", "length"}}},
    {"BadHeader", {{"corrupt", "header"}}},
    {"CutShort", {{"corrupt", "truncate"}, {"keep", 2000}}},
    {"ZipBadCrc", {{"corrupt", "crc"}, {"storage", "zip"}}},
};

INSTANTIATE_TEST_SUITE_P(Damage, CorruptMembers, ::testing::ValuesIn(kCorruptCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A person who answers the question after a failed extraction with "go on" leaves the file out:
// it is neither installed nor logged, the old file is back, and it is not a failure of the run.
TEST_F(FileWalk, AFileThePersonLetsGoIsLeftOutAndIsNoFailure)
{
    const Bytes content = sampleContent(90000, 6), after = sampleContent(3000, 7);
    nlohmann::json replacing = entry("keep.txt", content), fresh = entry("new.txt", content);
    // Cut short: the decoder runs out of input and asks.
    for (nlohmann::json* member : {&replacing, &fresh})
        member->update({{"corrupt", "truncate"}, {"keep", 2000}});
    writePackage({{"files", {replacing, entry("after.txt", after), fresh}}});
    answerYes = true;
    gFlags.silent = false;
    writeText(installed("keep.txt"), "old content");

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(textOf(installed("keep.txt")), "old content");
    EXPECT_EQ(filesBelow(destination), (std::vector<std::string>{"after.txt", "keep.txt"}));
    EXPECT_EQ(loggedFiles(), std::vector<std::string>{installed("after.txt")});
    EXPECT_TRUE(gInstallRun.failedFiles.empty());
    EXPECT_EQ(gInstallRun.skippedFiles, (std::vector<std::string>{installed("keep.txt"), installed("new.txt")}));
    EXPECT_EQ(questions.size(), 2u);
}

TEST_F(FileWalk, AMemberAcrossVolumesThatFailsIsSkippedFromItsFirstVolume)
{
    const Bytes spanning = sampleContent(200000, 8), next = sampleContent(4000, 9);
    nlohmann::json broken = entry("spanning.bin", spanning);
    broken["corrupt"] = "crc";
    broken["split"] = {1000, 1000};
    writePackage({{"files", {broken, entry("next.txt", next)}}});
    gFlags.silent = true;

    ASSERT_TRUE(installFiles());
    EXPECT_FALSE(fs::exists(installed("spanning.bin")));
    EXPECT_EQ(fileBytes(installed("next.txt")), next);
    EXPECT_EQ(gInstallRun.failedFiles, std::vector<std::string>{installed("spanning.bin")});
}

// The walk keeps the volume it reads open between members; none stays open once it ends, so
// the volumes can be removed (an open file cannot be on Windows).
TEST_F(FileWalk, NoVolumeStaysOpenAfterTheWalk)
{
    const Bytes spanning = sampleContent(150000, 18), after = sampleContent(3000, 19);
    nlohmann::json member = entry("spanning.bin", spanning);
    member["split"] = {700};
    const std::string setup = writePackage({{"files", {entry("first.txt", after), member, entry("after.txt", after)}}});

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(fileBytes(installed("spanning.bin")), spanning);
    EXPECT_EQ(fileBytes(installed("after.txt")), after);
    for (const std::string& volume : {setup, volumePath(setup, 2)}) {
        std::error_code error;
        EXPECT_TRUE(fs::remove(volume, error)) << volume << ": " << error.message();
    }
}

TEST_F(FileWalk, AMissingVolumeEndsTheInstallerWithTheOldFileBack)
{
    const Bytes content = sampleContent(60000, 10);
    nlohmann::json member = entry("lib.dll", content);
    member["split"] = {500};
    const std::string setup = writePackage({{"files", {member}}});
    fs::remove(volumePath(setup, 2));
    writeText(installed("lib.dll"), "old library");
    gFlags.silent = true;

    EXPECT_THROW(installFiles(), InstallerEnded);
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(textOf(installed("lib.dll")), "old library");
    EXPECT_EQ(filesBelow(destination), std::vector<std::string>{"lib.dll"});
    EXPECT_TRUE(loggedFiles().empty());
    std::error_code error;
    EXPECT_TRUE(fs::remove(setup, error)) << error.message();
}

TEST_F(FileWalk, APackageRunFromALocalCopyFindsItsVolumesBesideTheOriginal)
{
    const Bytes content = sampleContent(60000, 17);
    nlohmann::json member = entry("lib.dll", content);
    member["split"] = {500};
    const std::string original = writePackage({{"files", {member}}});
    const std::string copy = file("copy.exe");
    fs::copy_file(original, copy);
    gPackagePath = ByteString(copy.c_str());
    gModulePath = ByteString(original.c_str());
    gFlags.localCopy = true;

    EXPECT_TRUE(installFiles());
    gModulePath = ByteString();
    EXPECT_EQ(fileBytes(installed("lib.dll")), content);
    EXPECT_TRUE(prompts.empty());
}

TEST_F(FileWalk, ADamagedRecordFailsOnceAndTheWalkStops)
{
    const Bytes first = sampleContent(2000, 11);
    nlohmann::json damaged = entry("second.txt", sampleContent(2000, 12));
    damaged["storedSize"] = 0x7FFFFFF0u;
    writePackage({{"files", {entry("first.txt", first), damaged, entry("third.txt", first)}}});

    EXPECT_FALSE(installFiles());
    EXPECT_EQ(fileBytes(installed("first.txt")), first);
    EXPECT_EQ(filesBelow(destination), std::vector<std::string>{"first.txt"});
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_NE(errorBoxes[0].find("packed file 2"), std::string::npos);
    EXPECT_EQ(gInstallRun.failedFiles.size(), 1u);
}

TEST_F(FileWalk, APathThatLeavesItsFolderIsRefused)
{
    const Bytes content = sampleContent(1000, 13);
    writePackage({{"files", {entry("sub/../../escaped.txt", content), entry("inside.txt", content)}}});

    ASSERT_TRUE(installFiles());
    EXPECT_FALSE(fs::exists(file("escaped.txt")));
    EXPECT_FALSE(fs::exists(installed("escaped.txt")));
    EXPECT_EQ(filesBelow(destination), std::vector<std::string>{"inside.txt"});
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_EQ(errorBoxes[0].rfind("Failure while trying to install file ", 0), 0u);
    EXPECT_EQ(gInstallRun.failedFiles.size(), 1u);
}

TEST_F(FileWalk, AKeptFileIsNeitherTouchedNorLoggedButCountsAsProgress)
{
    const Bytes content = sampleContent(3000, 14);
    nlohmann::json asked = entry("config.ini", content);
    asked["flags"] = 4096u;
    writePackage({{"files", {asked}}});
    writeText(installed("config.ini"), "user settings");
    gFlags.silent = true;

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(textOf(installed("config.ini")), "user settings");
    EXPECT_TRUE(loggedFiles().empty());
    EXPECT_GT(gInstallRun.bytesCopied, 0u);
}

TEST_F(FileWalk, AReplacedFileKeepsItsOldContentAsideUntilTheRunCommits)
{
    const Bytes content = sampleContent(3000, 15);
    writePackage({{"files", {entry("app.exe", content)}}});
    writeText(installed("app.exe"), "version 1");

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(fileBytes(installed("app.exe")), content);
    ASSERT_EQ(gInstallRun.asideFiles, std::vector<std::string>{installed("app.exe") + ".old0"});
    EXPECT_EQ(textOf(gInstallRun.asideFiles[0]), "version 1");
    // It existed before: the uninstaller must not remove it.
    EXPECT_TRUE(loggedFiles().empty());
}

TEST_F(FileWalk, OnlyFilesThatWereNotThereBeforeCountAsCreatedByTheRun)
{
    // The run may delete what it created (a slideshow image once shown), never what it replaced.
    writePackage({{"files", {entry("new.bmp", sampleContent(100, 1)), entry("old.bmp", sampleContent(100, 2))}}});
    writeText(installed("old.bmp"), "the user's picture");
    gPackageToc.otherBytes = 200;

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(gInstallRun.createdFiles, std::set<std::string>{installed("new.bmp")});
}

struct SelectionCase {
    const char* name;
    std::vector<std::int32_t> pageTypes;
    std::int32_t installationType;
    std::vector<bool> choices;
    std::vector<std::string> installed;
};

class Selection : public FileInstallTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(Selection, RecordsFollowTheInstallationTypeAndComponents)
{
    const SelectionCase& c = GetParam();
    const Bytes content = sampleContent(500, 16);
    nlohmann::json minimal = entry("minimal.txt", content), typical = entry("typical.txt", content),
                   custom = entry("custom.txt", content);
    minimal["installTypeMask"] = 1u;
    typical["installTypeMask"] = 2u;
    typical["componentIndex"] = 1u;
    custom["installTypeMask"] = 0u;
    custom["componentIndex"] = 2u;
    writePackage({{"files", {minimal, typical, custom}}});
    for (std::int32_t type : c.pageTypes) {
        TemplateEntry page;
        page.pageType = type;
        gPackageToc.pageSequence.push_back(page);
    }
    gPackageToc.installationType = c.installationType;
    for (bool checked : c.choices)
        gPackageToc.componentChoices.push_back({checked, ByteString()});

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(filesBelow(destination), c.installed);
}

const SelectionCase kSelectionCases[] = {
    {"NoChoicePagesInstallsAll", {1, 13}, kMinimalInstallation, {}, {"custom.txt", "minimal.txt", "typical.txt"}},
    {"Minimal", {9, 13}, kMinimalInstallation, {}, {"minimal.txt"}},
    {"Typical", {9}, kTypicalInstallation, {}, {"minimal.txt", "typical.txt"}},
    {"CustomByComponents", {10}, kCustomInstallation, {false, true, true}, {"custom.txt", "typical.txt"}},
    {"CustomComponentBeyondTheChoices", {10}, kCustomInstallation, {true}, {"minimal.txt"}},
    {"CustomWithoutSavedChoicesTakesTypical", {10}, kCustomInstallation, {}, {"minimal.txt", "typical.txt"}},
};

INSTANTIATE_TEST_SUITE_P(Types, Selection, ::testing::ValuesIn(kSelectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegistrationQueue, FallingPriorityAndArrivalOrderWithinOne)
{
    std::vector<QueuedRegistration> queue;
    const std::pair<const char*, std::int32_t> arrivals[] = {{"a", 1}, {"b", 5}, {"c", 5}, {"d", -2}, {"e", 3}, {"f", 5}};
    for (const auto& [path, priority] : arrivals)
        queueRegistration(queue, path, priority);
    std::string order;
    for (QueuedRegistration& entry : queue)
        order += entry.path.cStr();
    EXPECT_EQ(order, "bcfead");
}

namespace {

int answerNo(const char*, std::uint32_t)
{
    return kAnswerNo;
}

} // namespace

TEST_F(FileWalk, AFileBesideThePackageIsCopiedWithItsOwnTimes)
{
    const Bytes content = sampleContent(70000, 18);
    const std::string source = file("beside.dat");
    writeWholeFile(source, content);
    const std::uint64_t sourceTime = installFileSystem().lastWriteTime(source).value();
    nlohmann::json beside = {{"name", "<InstallDir>" + std::string(kSeparator) + "copied.dat"}, {"text", source},
                             {"storage", "beside"}, {"flags", 0x10u}, {"lastWriteTime", 5u}};
    writePackage({{"files", {beside, entry("after.txt", content)}}});

    ASSERT_TRUE(installFiles());
    EXPECT_EQ(fileBytes(installed("copied.dat")), content);
    EXPECT_EQ(installFileSystem().lastWriteTime(installed("copied.dat")).value() / 10000000, sourceTime / 10000000);
    EXPECT_EQ(fileBytes(installed("after.txt")), content);
}

TEST_F(FileWalk, ABesideRecordWhoseSizeOutrunsItsVolumeIsADamagedPackage)
{
    // The size claims almost 4 GB, which end offsets in later volumes seem to allow; the name it
    // measures lies in this volume.
    const std::string source = file("beside.dat");
    writeWholeFile(source, sampleContent(100));
    nlohmann::json beside = {{"name", "<InstallDir>" + std::string(kSeparator) + "copied.dat"}, {"text", source},
                             {"storage", "beside"}, {"storedSize", 0xFFFFFFF0u}, {"extraEndOffsets", {0xFFFFFFF0u}}};
    writePackage({{"files", {beside, entry("after.txt", sampleContent(100))}}});

    EXPECT_FALSE(installFiles());
    ASSERT_EQ(errorBoxes.size(), 1u);
    EXPECT_NE(errorBoxes[0].find("is damaged"), std::string::npos) << errorBoxes[0];
    EXPECT_FALSE(fs::exists(installed("copied.dat")));
    EXPECT_FALSE(fs::exists(installed("after.txt")));
}

TEST_F(FileWalk, AMissingFileBesideThePackageIsSkippedOrStopsTheInstallation)
{
    nlohmann::json beside = {{"name", "<InstallDir>" + std::string(kSeparator) + "copied.dat"},
                             {"text", file("missing.dat")}, {"storage", "beside"}};
    writePackage({{"files", {beside, entry("after.txt", sampleContent(100))}}});
    gLanguageTexts[127] = ByteString("Missing %s. Skip it?");

    gFlags.silent = true;
    EXPECT_TRUE(installFiles());
    EXPECT_EQ(filesBelow(destination), std::vector<std::string>{"after.txt"});

    fs::remove_all(destination);
    gFlags.silent = false;
    const InstallMessageBox previous = setInstallMessageBox(answerNo);
    EXPECT_FALSE(installFiles());
    setInstallMessageBox(previous);
    gLanguageTexts[127] = ByteString();
    EXPECT_FALSE(fs::exists(installed("after.txt")));
}
