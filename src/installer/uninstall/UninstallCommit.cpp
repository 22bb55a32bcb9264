#include "installer/uninstall/UninstallCommit.h"

#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallRun.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/UninstallData.h"
#include "installer/uninstall/UninstallMerge.h"
#include "installer/uninstall/UninstallServices.h"
#include "installer/variables/UninstallerPath.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kUninstallerNotWrittenText = 140;

// The package says it has no uninstaller, or carries no uninstaller program to write.
bool withoutUninstaller()
{
    return (gInstallerContext.optionWord & kOptionNoUninstaller) != 0 || gUninstallLog.templatePath.empty();
}

bool updatePackage()
{
    return (gInstallerContext.packageOptions & kPackageUpdate) != 0;
}

void appendLE32(ByteString& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.appendChar(static_cast<std::uint8_t>(value >> shift));
}

// Appends the data and the program's old size to the program at path; false when the program
// cannot be read, is empty or cannot be written.
bool appendDataTo(const char* path, const ByteString& data)
{
    ByteString program;
    if (program.loadFromFile(path) != 1 || program.empty())
        return false;
    const std::uint32_t oldSize = program.length();
    program.append(data);
    appendLE32(program, oldSize);
    return program.saveToFile(path) == 1;
}

void runSilentlyAndDelete(const std::string& program)
{
    std::string folder = program;
    const std::size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    UninstallServices& services = uninstallServices();
    if (services.runAndWait)
        services.runAndWait(program, silentUninstallerCommandLine(program.c_str()).cStr(), folder);
    installFileSystem().remove(program);
}

// The file an old content was moved aside from: "<path>.old<n>".
std::string asideOrigin(const std::string& aside)
{
    const std::size_t mark = aside.rfind(".old");
    return mark == std::string::npos ? std::string() : aside.substr(0, mark);
}

// Backup copies by the path of the file they saved.
std::map<std::string, std::string> backupsByFile()
{
    std::map<std::string, std::string> backups;
    std::string text(reinterpret_cast<const char*>(gUninstallLog.backupText.data()), gUninstallLog.backupText.length());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            const std::size_t next = line.find('\t', tab + 1);
            backups.emplace(line.substr(tab + 1, next == std::string::npos ? std::string::npos : next - tab - 1),
                            line.substr(0, tab));
        }
        start = end + 2;
    }
    return backups;
}

// Puts the old contents this run moved aside back in place of the new files.
void restoreAsideFiles()
{
    InstallFileSystem& fs = installFileSystem();
    for (auto aside = gInstallRun.asideFiles.rbegin(); aside != gInstallRun.asideFiles.rend(); ++aside) {
        const std::string origin = asideOrigin(*aside);
        if (origin.empty() || !fs.exists(*aside))
            continue;
        fs.remove(origin);
        fs.move(*aside, origin);
    }
    gInstallRun.asideFiles.clear();
}

// The rollback of a package without an uninstaller (or an update): the logged files go, but a
// file that was there before gets its old content back, from where the run moved it aside or
// else from its backup; the folders the run created go when they are empty.
void undoDirectly()
{
    InstallFileSystem& fs = installFileSystem();
    std::map<std::string, std::string> asides;
    for (const std::string& aside : gInstallRun.asideFiles)
        asides.emplace(asideOrigin(aside), aside);
    const std::map<std::string, std::string> backups = backupsByFile();
    for (const std::string& file : listEntries(gUninstallLog.files)) {
        const auto aside = asides.find(file);
        const auto backup = backups.find(file);
        if (aside != asides.end() && fs.exists(aside->second))
            continue; // restoreAsideFiles puts it back
        fs.remove(file);
        if (backup != backups.end() && fs.exists(backup->second))
            fs.copy(backup->second, file);
    }
    restoreAsideFiles();
    // The backup copies were made by this run.
    for (const auto& [file, backup] : backups)
        fs.remove(backup);
    const std::vector<std::string> folders = listEntries(gUninstallLog.directories);
    UninstallServices& services = uninstallServices();
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        if (services.removeEmptyFolder)
            services.removeEmptyFolder(*folder);
    gUninstallLog.files = ByteString();
    gUninstallLog.directories = ByteString();
    gUninstallLog.backupText = ByteString();
}

bool nothingToUndo()
{
    const UninstallLog& log = gUninstallLog;
    return !log.treeBuilt && log.files.empty() && log.directories.empty() && log.keys.empty() && log.values.empty() &&
           log.shared.empty() && log.backupText.empty();
}

// The template uninstaller gets this run's data (without settings) and undoes it.
void undoThroughTemplate()
{
    ByteString templatePath = gUninstallLog.templatePath;
    ByteString program;
    if (templatePath.empty() || program.loadFromFile(templatePath.cStr()) != 1 || program.empty()) {
        // Without a program to run the run's own files still go.
        undoDirectly();
        return;
    }
    if (nothingToUndo()) {
        restoreAsideFiles();
        return;
    }
    gUninstallLog.omitSettings = true;
    ByteString data;
    buildUninstallData(data);
    if (!appendDataTo(templatePath.cStr(), data)) {
        undoDirectly();
        return;
    }
    runSilentlyAndDelete(templatePath.cStr());
    restoreAsideFiles();
}

void restoreSavedUninstaller()
{
    ByteString& saved = gPackageToc.savedUninstaller;
    InstallFileSystem& fs = installFileSystem();
    if (saved.empty() || !fs.exists(saved.cStr()))
        return;
    UninstallServices& services = uninstallServices();
    const std::string place = services.findUninstaller ? services.findUninstaller() : std::string(uninstallerPath().cStr());
    if (fs.copy(saved.cStr(), place))
        fs.remove(saved.cStr());
    saved = ByteString();
}

void removePlaceholder()
{
    if (!gUninstallLog.placeholderMade)
        return;
    gUninstallLog.placeholderMade = false;
    installFileSystem().remove(uninstallerPath().cStr());
}

} // namespace

ByteString silentUninstallerCommandLine(const char* path)
{
    ByteString line;
    line.format("\"%s\" /SILENT /NOREMOVE", path);
    return line;
}

bool commitUninstallData(OpaqueHandle owner)
{
    if (withoutUninstaller() && !updatePackage())
        return true;
    UninstallServices& services = uninstallServices();
    ByteString path = uninstallerPath();
    InstallFileSystem& fs = installFileSystem();
    if (fs.exists(path.cStr())) {
        if (services.cancelDeleteOnReboot)
            services.cancelDeleteOnReboot(path.cStr());
        return mergeUninstallData() == 1;
    }
    if (updatePackage())
        return mergeUninstallData() == 1;
    ByteString templatePath = gUninstallLog.templatePath;
    // The template stays until the uninstaller is written: a rollback still needs it then. The
    // data is built (which empties the log) only once the copy exists, so that a rollback after
    // an uninstaller that cannot be written still finds everything the run did.
    const bool copied = !templatePath.empty() && fs.copy(templatePath.cStr(), path.cStr());
    ByteString data;
    if (copied)
        buildUninstallData(data);
    if (!copied || !appendDataTo(path.cStr(), data)) {
        fs.remove(path.cStr());
        ByteString text = gLanguageTexts[kUninstallerNotWrittenText];
        if (text.empty())
            text.format("The uninstaller \"%s\" could not be written.", path.cStr());
        if (services.showError)
            services.showError(owner, text.cStr());
        return false;
    }
    fs.remove(templatePath.cStr());
    gUninstallLog.committed = true;
    if (services.cancelDeleteOnReboot)
        services.cancelDeleteOnReboot(path.cStr());
    return true;
}

namespace {

// A shared library is logged only when its count is raised, late in the run; one this run
// created before a failure or cancel would otherwise be left behind. It goes with the files.
void logUncountedSharedLibraries()
{
    std::set<std::string> counted;
    for (const std::string& entry : listEntries(gUninstallLog.shared))
        counted.insert(entry.substr(0, entry.find('|')));
    for (const auto& [path, registered] : gInstallRun.sharedLibraries)
        if (gInstallRun.createdFiles.count(path) != 0 && counted.count(path) == 0) {
            addListEntry(path.c_str(), gUninstallLog.files);
            counted.insert(path);
        }
}

} // namespace

int rollbackOnExit()
{
    UninstallServices& services = uninstallServices();
    if (!gUninstallLog.committed)
        logUncountedSharedLibraries();
    if (services.leaveInstalledFolders)
        services.leaveInstalledFolders();
    removePlaceholder();
    if (updatePackage() || withoutUninstaller()) {
        if (!gUninstallLog.committed)
            undoDirectly();
    } else if (gUninstallLog.committed) {
        runSilentlyAndDelete(uninstallerPath().cStr());
    } else {
        undoThroughTemplate();
    }
    restoreSavedUninstaller();
    return 1;
}
