#include "installer/install/InstallRun.h"

#include "installer/state/InstallerRunRules.h"
#include "installer/system/ErrorBox.h"

InstallRunState gInstallRun;
InstallView gInstallView;
InstallOperations gInstallOperations;

namespace {
InstallMessageBox currentBox = nullptr;
}

InstallMessageBox setInstallMessageBox(InstallMessageBox box)
{
    InstallMessageBox previous = currentBox;
    currentBox = box;
    return previous;
}

int askUser(const char* text, std::uint32_t type)
{
    if (currentBox && !gFlags.silent)
        return currentBox(text, type);
    return silentMessageBoxAnswer(type);
}

void showInstallError(const char* text)
{
    showErrorBox(text);
}

std::vector<std::string> unconnectedOperations(const InstallOperations& o)
{
    const std::pair<bool, const char*> operations[] = {
        {bool(o.pluginStepsBeforeRun), "plug-in steps 1 to 10"},
        {bool(o.prerequisites), "prerequisite setups"},
        {bool(o.expandEntryTables), "variables in the entry tables"},
        {bool(o.convertMp3Files), "MP3 to WAV conversion"},
        {bool(o.convertJpegFiles), "JPEG to BMP conversion"},
        {bool(o.writeRegistry), "registry"},
        {bool(o.writeIniEntries), "INI entries"},
        {bool(o.editTextFiles), "text-file entries"},
        {bool(o.createShortcuts), "shortcuts"},
        {bool(o.countSharedLibraries), "shared-library counts"},
        {bool(o.registerFiles), "library registration"},
        {bool(o.applyPendingRenames), "renames at restart"},
        {bool(o.commitUninstallData), "commit of the uninstall data"},
        {bool(o.pluginStepsAfterRun), "plug-in steps 11 to 13"},
        {bool(o.notifyAssociationsChanged), "notice of changed file associations"},
    };
    std::vector<std::string> missing;
    for (const auto& [connected, name] : operations)
        if (!connected)
            missing.emplace_back(name);
    return missing;
}

void resetInstallRun()
{
    ProgressTracker progress = gInstallRun.progress;
    gInstallRun = InstallRunState();
    gInstallRun.progress = progress;
}
