// The commit into the uninstaller (program, data, old size), the merge into an installed one,
// the refusal of damaged data, and the rollback of an installation left early.
#include "UninstallTestSupport.h"

#include "Scramble.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/PendingRenames.h"
#include "installer/uninstall/UninstallCommit.h"
#include "installer/uninstall/UninstallMerge.h"

#include <filesystem>

namespace {

using namespace uninstall_reader;

class UninstallCommit : public UninstallTest {};

void logFiles(std::initializer_list<const char*> files)
{
    for (const char* file : files)
        addListEntry(file, gUninstallLog.files);
}

std::string le32(std::uint32_t value)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>(value >> shift);
    return out;
}

// An installed uninstaller holding plain data (scrambled twice by the builder's own scrambling).
std::string uninstallerWith(const std::string& plain)
{
    const Bytes stored = scramble(scramble(Bytes(plain.begin(), plain.end()), 7, 11), 23, 200);
    return "MZprogram" + std::string(stored.begin(), stored.end()) + le32(9);
}

std::string plainBody(const std::string& version, const std::string& settings, const std::string& registry = "")
{
    return std::string("Old\0", 4) + version + std::string(1, '\0') + settings + std::string("\0\r\n", 3) +
           "Shared:\r\nold.dll\r\nBackups:\r\nFiles:\r\nold1\r\nold2\r\nDirectories:\r\nolddir\r\nRegistry:\r\n" + registry;
}

std::string be32(std::uint32_t value)
{
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift);
    return out;
}

// Every key of a chain nested depth deep.
std::string nestedRegistry(int depth)
{
    std::string tree;
    for (int i = 0; i < depth; ++i)
        tree += be32(0) + be32(1) + be32(3) + "k" + std::string(1, '\0');
    tree += be32(0) + be32(0);
    return tree + std::string(24, '\0');
}

// One key whose name is a path of depth keys.
std::string keyPathRegistry(int depth)
{
    std::string path = "k";
    for (int i = 1; i < depth; ++i)
        path += "\\k";
    return be32(0) + be32(1) + be32(3) + path + std::string(1, '\0') + be32(0) + be32(0) + std::string(24, '\0');
}

} // namespace

TEST_F(UninstallCommit, NewUninstallerIsTheProgramThenTheDataThenTheOldSize)
{
    givenTemplateProgram("MZstub");
    logFiles({"a", "b", "c"});
    ASSERT_TRUE(commitUninstallData(nullptr));
    std::uint32_t oldSize = 0;
    const std::string file = readFile(uninstaller());
    const Data data = parseUninstallerFile(file, &oldSize);
    EXPECT_EQ(oldSize, 6u);
    EXPECT_EQ(file.substr(0, 6), "MZstub");
    EXPECT_EQ(data.product, "Product");
    EXPECT_EQ(data.settings, "settings");
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(gUninstallLog.committed);
    EXPECT_FALSE(std::filesystem::exists(gUninstallLog.templatePath.cStr())) << "the template is used up";
    EXPECT_EQ(cancelledDeletes, (std::vector<std::string>{uninstaller()}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(UninstallCommit, ReinstallingMergesThisRunsEntriesFirst)
{
    givenTemplateProgram();
    logFiles({"a", "b"});
    addListEntry("-2147483646\\Software\\First", gUninstallLog.keys);
    ASSERT_TRUE(commitUninstallData(nullptr));
    gUninstallLog.committed = false;
    logFiles({"x", "y"});
    addListEntry("dir", gUninstallLog.directories);
    addListEntry("-2147483646\\Software\\Second", gUninstallLog.keys);
    ASSERT_TRUE(commitUninstallData(nullptr));
    std::uint32_t oldSize = 0;
    const Data data = parseUninstallerFile(readFile(uninstaller()), &oldSize);
    EXPECT_EQ(oldSize, 6u);
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"y", "x", "b", "a"}));
    EXPECT_EQ(data.sections.at("Directories:"), (std::vector<std::string>{"dir"}));
    ASSERT_EQ(data.roots[2].keys.size(), 1u);
    const Key& software = data.roots[2].keys[0];
    ASSERT_EQ(software.keys.size(), 2u);
    EXPECT_EQ(software.keys[0].name, "First");
    EXPECT_EQ(software.keys[1].name, "Second");
    EXPECT_EQ(software.keys[0].flags, 3u) << "stored flags survive the merge";
    EXPECT_TRUE(gUninstallLog.files.empty());
}

TEST_F(UninstallCommit, StoredVersionDecidesSettingsAndSharedSuffixes)
{
    struct Case {
        std::string version;
        bool update;
        std::string settings;
        std::string shared;
    };
    const Case cases[] = {
        {"101", false, "old", "new.dll"},
        {"102", false, "settings", "new.dll"},
        {"103", false, "settings", "new.dll|ctrl"},
        {"103a", true, "old", "new.dll|ctrl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        gPackageToc.uninstallerNameTemplate = ByteString(uninstaller().c_str());
        gInstallerContext.packageOptions = c.update ? std::uint32_t{kPackageUpdate} : 0u;
        writeFile(uninstaller(), uninstallerWith(plainBody(c.version, "old")));
        addListEntry("new.dll|ctrl", gUninstallLog.shared);
        addBackupLine(ByteString("b1"));
        addBackupLine(ByteString("b2"));
        EXPECT_EQ(mergeUninstallData(), 1);
        const Data data = parseUninstallerFile(readFile(uninstaller()));
        EXPECT_EQ(data.version, c.version);
        EXPECT_EQ(data.settings, c.settings);
        EXPECT_EQ(data.sections.at("Shared:"), (std::vector<std::string>{c.shared, "old.dll"}));
        EXPECT_EQ(data.sections.at("Backups:"), (std::vector<std::string>{"b2", "b1"}));
        EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"old1", "old2"}));
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(UninstallCommit, DamagedDataIsRefusedAndLeftAsItWas)
{
    const std::string good = uninstallerWith(plainBody("103", "s"));
    std::string badCheck = good;
    badCheck[12] ^= 0x55;
    const std::string header = "\\1" + be32(1000) + be32(0) + be32(0) + be32(4) + be32(0);
    const std::string badHeader = uninstallerWith(header + plainBody("103", "s"));
    const std::string innerLengthWrong = uninstallerWith("\\1" + be32(16) + be32(5) + be32(0) + be32(4) + be32(0) +
                                                         plainBody("103", "s"));
    std::string noHeadings = plainBody("103", "s");
    noHeadings.replace(noHeadings.find("Directories:"), 12, "Folders:");
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"shorter than the trailer", "MZ\1"},
        {"trailer past the end", good.substr(0, good.size() - 4) + le32(0x7FFFFFF0)},
        {"trailer inside the data", good.substr(0, good.size() - 4) + le32(static_cast<std::uint32_t>(good.size() - 9))},
        {"check bytes", badCheck},
        {"truncated data", good.substr(0, good.size() - 20) + le32(9)},
        {"header longer than the data", badHeader},
        {"header's own lengths", innerLengthWrong},
        {"heading missing", uninstallerWith(noHeadings)},
        {"body line without NULs", uninstallerWith("Old\r\nShared:\r\nBackups:\r\nFiles:\r\nDirectories:\r\nRegistry:\r\n")},
        {"registry nested too deep", uninstallerWith(plainBody("103", "s", nestedRegistry(600)))},
        {"registry key path nested too deep", uninstallerWith(plainBody("103", "s", keyPathRegistry(600)))},
        {"registry count too large", uninstallerWith(plainBody("103", "s", be32(0xFFFFFFF0)))},
        {"registry truncated", uninstallerWith(plainBody("103", "s", be32(0) + be32(1) + be32(3) + "k"))},
        {"bytes after the trees", uninstallerWith(plainBody("103", "s", std::string(32, '\0') + "x"))},
    };
    gPackageToc.uninstallerNameTemplate = ByteString(uninstaller().c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(uninstaller(), c.file);
        errors.clear();
        gUninstallLog.files = ByteString();
        logFiles({"new"});
        addListEntry("-2147483646\\Key", gUninstallLog.keys);
        EXPECT_EQ(mergeUninstallData(), 1);
        EXPECT_EQ(readFile(uninstaller()), c.file);
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_EQ(listEntries(gUninstallLog.files), (std::vector<std::string>{"new"})) << "the log is kept";
        EXPECT_FALSE(gUninstallLog.keys.empty());
        EXPECT_TRUE(gPackageToc.registryRoots[2].subkeys.empty()) << "nothing read into the trees";
    }
    // The deepest nesting the registry allows still merges.
    writeFile(uninstaller(), uninstallerWith(plainBody("103", "s", nestedRegistry(500))));
    errors.clear();
    mergeUninstallData();
    EXPECT_TRUE(errors.empty());
    EXPECT_NO_THROW(parseUninstallerFile(readFile(uninstaller())));
}

TEST_F(UninstallCommit, OlderLayoutWithFilesBeforeBackupsIsKept)
{
    gPackageToc.uninstallerNameTemplate = ByteString(uninstaller().c_str());
    const std::string old = uninstallerWith(std::string("Old\0" "100\0s\0\r\nShared:\r\nFiles:\r\nBackups:\r\n", 39));
    writeFile(uninstaller(), old);
    logFiles({"new"});
    mergeUninstallData();
    EXPECT_EQ(readFile(uninstaller()), old);
    EXPECT_TRUE(errors.empty());
}

// The layout is judged with this run's settings in place: stored settings that hide an older
// layout (a "Backups:" line ahead of a "Files:" line) hide it only when they are kept.
TEST_F(UninstallCommit, TheLayoutIsJudgedWithTheSettingsTheMergeWrites)
{
    const auto storedData = [](const std::string& version) {
        return uninstallerWith(std::string("Old\0", 4) + version + std::string(1, '\0') + "Backups:\r\n" +
                               std::string("\0\r\n", 3) +
                               "Shared:\r\nFiles:\r\nBackups:\r\nFiles:\r\nDirectories:\r\nRegistry:\r\n");
    };
    gPackageToc.uninstallerNameTemplate = ByteString(uninstaller().c_str());

    const std::string replaced = storedData("103");
    writeFile(uninstaller(), replaced);
    logFiles({"new"});
    mergeUninstallData();
    EXPECT_EQ(readFile(uninstaller()), replaced) << "kept as an older layout";

    writeFile(uninstaller(), storedData("101"));
    for (const char* file : {"first", "second"}) {
        gUninstallLog.files = ByteString();
        logFiles({file});
        mergeUninstallData();
    }
    EXPECT_EQ(parseUninstallerFile(readFile(uninstaller())).sections.at("Files:"),
              (std::vector<std::string>{"second", "first"}))
        << "merged data merges again";
    EXPECT_TRUE(errors.empty());
}

TEST_F(UninstallCommit, PackagesWithoutUninstallerWriteNothing)
{
    givenTemplateProgram();
    gInstallerContext.optionWord = kOptionNoUninstaller;
    logFiles({"a"});
    EXPECT_TRUE(commitUninstallData(nullptr));
    EXPECT_FALSE(std::filesystem::exists(uninstaller()));
    EXPECT_FALSE(gUninstallLog.committed);
}

TEST_F(UninstallCommit, UninstallerThatCannotBeWrittenFailsAndKeepsTheTemplate)
{
    givenTemplateProgram("");
    gLanguageTexts[140] = ByteString("Uninstaller not written");
    logFiles({"a"});
    EXPECT_FALSE(commitUninstallData(nullptr));
    EXPECT_EQ(errors, (std::vector<std::string>{"Uninstaller not written"}));
    EXPECT_FALSE(std::filesystem::exists(uninstaller()));
    EXPECT_TRUE(std::filesystem::exists(gUninstallLog.templatePath.cStr()));
    EXPECT_FALSE(gUninstallLog.committed);
    gLanguageTexts[140] = ByteString();
}

TEST_F(UninstallCommit, RollbackAfterCommitRunsTheInstalledUninstallerSilently)
{
    givenTemplateProgram();
    logFiles({"a"});
    ASSERT_TRUE(commitUninstallData(nullptr));
    EXPECT_EQ(rollbackOnExit(), 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, uninstaller());
    EXPECT_EQ(started[0].commandLine, "\"" + uninstaller() + "\" /SILENT /NOREMOVE");
    EXPECT_EQ(started[0].folder, folder.file(""));
    EXPECT_FALSE(std::filesystem::exists(uninstaller()));
}

TEST_F(UninstallCommit, RollbackBeforeCommitRunsTheTemplateWithThisRunsData)
{
    givenTemplateProgram("MZstub");
    const std::string templatePath = gUninstallLog.templatePath.cStr();
    logFiles({"a", "b"});
    EXPECT_EQ(rollbackOnExit(), 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, templatePath);
    std::uint32_t oldSize = 0;
    const Data data = parseUninstallerFile(started[0].bytes, &oldSize);
    EXPECT_EQ(oldSize, 6u);
    EXPECT_EQ(data.settings, "") << "a rollback's data has no settings";
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(std::filesystem::exists(templatePath));
}

// The data is built only once the uninstaller's copy exists: a commit that fails before leaves
// the log whole, and the rollback after it still undoes everything the run did.
TEST_F(UninstallCommit, RollbackAfterAnUninstallerThatCannotBeWrittenStillHasTheRunsData)
{
    givenTemplateProgram("MZstub");
    const std::string templatePath = gUninstallLog.templatePath.cStr();
    const std::string unwritable = (std::filesystem::path(folder.file("missing")) / "uninst.exe").string();
    gPackageToc.uninstallerNameTemplate = ByteString(unwritable.c_str());
    logFiles({"a", "b"});
    EXPECT_FALSE(commitUninstallData(nullptr));
    EXPECT_EQ(rollbackOnExit(), 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, templatePath);
    const Data data = parseUninstallerFile(started[0].bytes);
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"b", "a"}));
}

// A shared library is logged when its count is raised, late in the run: one the run placed
// before it was left goes with the files; one that was there before, or is counted, does not.
TEST_F(UninstallCommit, RollbackTakesSharedLibrariesTheRunPlacedButHadNotCountedYet)
{
    givenTemplateProgram("MZstub");
    gInstallRun.sharedLibraries = {{"new.dll", true}, {"old.dll", false}, {"counted.dll", false}};
    gInstallRun.createdFiles = {"new.dll", "counted.dll"};
    addListEntry("counted.dll", gUninstallLog.shared);
    logFiles({"a"});
    EXPECT_EQ(rollbackOnExit(), 1);
    ASSERT_EQ(started.size(), 1u);
    const Data data = parseUninstallerFile(started[0].bytes);
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"new.dll", "a"}));
    EXPECT_EQ(data.sections.at("Shared:"), (std::vector<std::string>{"counted.dll"}));
}

// The plug-in's closing steps log after the commit: each merge adds what was logged since.
TEST_F(UninstallCommit, EntriesLoggedAfterTheCommitAreMergedIntoTheInstalledData)
{
    givenTemplateProgram();
    logFiles({"a"});
    ASSERT_TRUE(commitUninstallData(nullptr));
    for (int step = 0; step < 2; ++step) {
        addListEntry("plugin.txt", gUninstallLog.files);
        EXPECT_EQ(mergeUninstallData(), 1);
    }
    const Data data = parseUninstallerFile(readFile(uninstaller()));
    EXPECT_EQ(data.sections.at("Files:"), (std::vector<std::string>{"plugin.txt", "plugin.txt", "a"}));
}

TEST_F(UninstallCommit, DirectRollbackPutsBackWhatTheRunReplaced)
{
    const std::string kept = folder.file("kept.txt");
    const std::string added = folder.file("added.txt");
    const std::string backedUp = folder.file("lib.dll");
    const std::string created = folder.file("created");
    const std::string backupFolder = folder.file("Backup");
    const struct {
        const char* what;
        std::uint32_t packageOptions;
        std::uint32_t optionWord;
    } packages[] = {{"update", kPackageUpdate, 0}, {"no uninstaller", 0, kOptionNoUninstaller},
                    {"no uninstaller program carried", 0, 0}};
    for (const auto& package : packages) {
        SCOPED_TRACE(package.what);
        std::filesystem::create_directories(created);
        std::filesystem::create_directories(backupFolder);
        writeFile(kept, "new content");
        writeFile(kept + ".old0", "old content");
        writeFile(backedUp, "new library");
        writeFile(backupFolder + "/lib.dll", "old library");
        writeFile(created + "/inside.txt", "x");
        writeFile(added, "added");
        gInstallRun.asideFiles.push_back(kept + ".old0");
        logFiles({kept.c_str(), added.c_str(), backedUp.c_str(), (created + "/inside.txt").c_str()});
        addBackupLine(ByteString((backupFolder + "/lib.dll\t" + backedUp + "\t0\t0\t0\t0").c_str()));
        addListEntry(created.c_str(), gUninstallLog.directories);
        addListEntry(backupFolder.c_str(), gUninstallLog.directories);
        // An update replaced an earlier uninstaller and set it aside.
        writeFile(uninstaller() + ".bak", "earlier uninstaller");
        gPackageToc.savedUninstaller = ByteString((uninstaller() + ".bak").c_str());
        gInstallerContext.packageOptions = package.packageOptions;
        gInstallerContext.optionWord = package.optionWord;

        EXPECT_EQ(rollbackOnExit(), 1);
        EXPECT_TRUE(started.empty());
        EXPECT_EQ(readFile(kept), "old content");
        EXPECT_EQ(readFile(backedUp), "old library");
        EXPECT_FALSE(std::filesystem::exists(kept + ".old0"));
        EXPECT_FALSE(std::filesystem::exists(added));
        EXPECT_FALSE(std::filesystem::exists(created));
        EXPECT_FALSE(std::filesystem::exists(backupFolder));
        EXPECT_EQ(readFile(uninstaller()), "earlier uninstaller");
        EXPECT_FALSE(std::filesystem::exists(uninstaller() + ".bak"));
        EXPECT_TRUE(gPackageToc.savedUninstaller.empty());
        std::filesystem::remove(uninstaller());
    }
}

TEST_F(UninstallCommit, DirectRollbackKeepsFoldersThatHoldOtherFiles)
{
    const std::string shared = folder.file("shared");
    std::filesystem::create_directories(shared);
    writeFile(shared + "/someone_elses.txt", "x");
    writeFile(shared + "/ours.txt", "y");
    gInstallerContext.optionWord = kOptionNoUninstaller;
    logFiles({(shared + "/ours.txt").c_str()});
    addListEntry(shared.c_str(), gUninstallLog.directories);
    rollbackOnExit();
    EXPECT_FALSE(std::filesystem::exists(shared + "/ours.txt"));
    EXPECT_EQ(readFile(shared + "/someone_elses.txt"), "x");
}

TEST(PendingRenames, OnlyTheDeleteOfTheGivenFileIsForgotten)
{
    static const char raw[] = "\\??\\C:\\app\\uninst.exe\0\0C:\\a\0\\??\\C:\\b\0c:\\APP\\UNINST.EXE\0\0";
    const std::string value(raw, sizeof(raw));
    std::vector<std::string> pairs = multiStringEntries(value);
    ASSERT_EQ(pairs.size(), 6u);
    EXPECT_TRUE(removeRenamePairs(pairs, "C:\\app\\uninst.exe", nullptr));
    EXPECT_EQ(pairs, (std::vector<std::string>{"C:\\a", "\\??\\C:\\b"}));
    EXPECT_EQ(multiStringValue(pairs), std::string("C:\\a\0\\??\\C:\\b\0\0", 15));
    const std::string target = "C:\\b";
    EXPECT_FALSE(removeRenamePairs(pairs, "C:\\b", nullptr));
    EXPECT_TRUE(removeRenamePairs(pairs, "C:\\a", &target));
    EXPECT_TRUE(pairs.empty());
}
