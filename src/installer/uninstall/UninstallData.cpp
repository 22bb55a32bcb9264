#include "installer/uninstall/UninstallData.h"

#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/RegistryTrees.h"
#include "installer/uninstall/UninstallHeader.h"
#include "installer/variables/TextExpansion.h"

#include <string>
#include <vector>

namespace {

void appendLine(ByteString& out, const std::string& line)
{
    out.appendCStr(line.c_str(), static_cast<std::uint32_t>(line.size()));
    out.appendCStr("\r\n");
}

// The heading, then the list's entries newest first; the list is emptied.
void appendNewestFirst(ByteString& out, const char* heading, ByteString& list)
{
    out.appendCStr(heading);
    const std::vector<std::string> entries = listEntries(list);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        appendLine(out, *entry);
    list = ByteString();
}

void appendBackups(ByteString& out)
{
    out.appendCStr("Backups:\r\n");
    ByteString& text = gUninstallLog.backupText;
    if (!text.empty()) {
        out.append(text);
        out.appendCStr("\r\n");
    }
    text = ByteString();
}

void appendRegistry(ByteString& out)
{
    out.appendCStr("Registry:\r\n");
    UninstallLog& log = gUninstallLog;
    const bool logged = !log.keys.empty() || !log.values.empty();
    if (!log.treeBuilt && !logged)
        return;
    if (!log.treeBuilt)
        for (RegistryNode& root : gPackageToc.registryRoots)
            clearRegistryTree(root);
    if (logged)
        addLoggedRegistry();
    for (RegistryNode& root : gPackageToc.registryRoots)
        writeRegistryTree(out, root);
}

} // namespace

ByteString expandedUninstallSettings()
{
    ByteString settings = gPackageToc.uninstallDataSettings;
    expandBuiltinVariables(settings);
    expandVariables(settings, kAllVariables);
    expandFolderVariables(settings);
    return settings;
}

ByteString buildUninstallBody()
{
    ByteString body;
    body.append(gPackageToc.productName);
    body.appendChar(0);
    body.appendCStr(gPackageToc.registryView64 ? "103a" : "103");
    body.appendChar(0);
    if (!gUninstallLog.omitSettings)
        body.append(expandedUninstallSettings());
    body.appendChar(0);
    body.appendCStr("\r\n");
    appendNewestFirst(body, "Shared:\r\n", gUninstallLog.shared);
    appendBackups(body);
    appendNewestFirst(body, "Files:\r\n", gUninstallLog.files);
    appendNewestFirst(body, "Directories:\r\n", gUninstallLog.directories);
    appendRegistry(body);
    return body;
}

int buildUninstallData(ByteString& out)
{
    ByteString body = buildUninstallBody();
    buildUninstallHeader(out);
    out.append(body);
    out.scramble();
    out.scramble();
    return 1;
}
