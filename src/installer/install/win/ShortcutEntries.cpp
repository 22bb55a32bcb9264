#include "installer/install/SystemChanges.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallName.h"
#include "installer/install/ShortcutIcon.h"
#include "installer/state/UninstallLists.h"
#include "installer/system/win/Shortcut.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/TextExpansion.h"

#include <string>

namespace {

std::string expanded(const ByteString& text)
{
    ByteString copy(text);
    expandFolderVariables(copy);
    expandBuiltinVariables(copy);
    return std::string(reinterpret_cast<const char*>(copy.data()), copy.length());
}

// The same name with ".pif" in place of its extension.
std::string pifNameOf(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("\\/");
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".pif";
}

// True when the link was made or its target is missing (skipped).
bool createShortcutEntry(const ShortcutEntry& entry)
{
    const std::string target = expanded(entry.target);
    const std::string link = expanded(entry.shortcutFile);
    const std::string arguments = expanded(entry.arguments);
    const std::string workingFolder = expanded(entry.workingFolder);
    const std::string iconText = expanded(entry.icon);
    const ShortcutIcon icon = iconText.empty() ? ShortcutIcon{} : parseShortcutIcon(iconText);

    InstallFileSystem& fs = installFileSystem();
    if (!fs.exists(target))
        return true;
    for (const std::string& folder : {folderOf(link), folderOf(target)}) {
        if (!folder.empty())
            fs.createFolders(folder, true);
    }
    if (!createShortcut(target.c_str(), link.c_str(), nullptr, workingFolder.c_str(), icon.file.c_str(), icon.index,
                        arguments.c_str()))
        return false;
    const std::string pif = pifNameOf(link);
    const std::string logged = !fs.exists(link) && fs.exists(pif) ? pif : link;
    addListEntry(logged.c_str(), gUninstallLog.files);
    return true;
}

} // namespace

std::uint8_t createShortcuts()
{
    setProgress(0, 0);
    makeUninstallerPlaceholder();
    std::int32_t failures = 0;
    const std::vector<ShortcutEntry>& entries = gPackageToc.shortcuts;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!conditionHolds(entries[i].condition.get()))
            continue;
        if (!createShortcutEntry(entries[i]))
            ++failures;
        setProgress(static_cast<std::int32_t>((i + 1) * 100 / entries.size()), 0);
    }
    removeUninstallerPlaceholder();
    setProgress(100, 0);
    return failures == 0 ? 1 : 0;
}
