#include "installer/install/PluginServices.h"

#include "installer/install/FileInstaller.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/variables/VariableApi.h"

#include <string>

namespace {

constexpr std::int32_t kDone = 1;
constexpr std::int32_t kBadArgument = -1;
constexpr std::int32_t kSystemFailed = -2;

// HKEY_CLASSES_ROOT to HKEY_USERS as the 32-bit values they are; the 64-bit build's handles
// carry the same value sign-extended.
constexpr std::int32_t kFirstRoot = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t kLastRoot = static_cast<std::int32_t>(0x80000003u);

bool isEmpty(const char* text)
{
    return text == nullptr || text[0] == '\0';
}

bool rootInRange(std::uintptr_t root, std::int32_t& number)
{
    number = static_cast<std::int32_t>(root);
    if (static_cast<std::intptr_t>(root) != static_cast<std::intptr_t>(number))
        return false;
    return number >= kFirstRoot && number <= kLastRoot;
}

} // namespace

std::int32_t PLUGIN_SERVICE pluginLogFile(const char* path)
{
    if (isEmpty(path))
        return kBadArgument;
    addListEntry(path, gUninstallLog.files);
    return kDone;
}

std::int32_t PLUGIN_SERVICE pluginLogRegistryKey(std::uintptr_t root, const char* key)
{
    std::int32_t number = 0;
    if (!rootInRange(root, number) || isEmpty(key))
        return kBadArgument;
    ByteString line;
    line.format("%d\\%s", number, key);
    addListEntry(line.cStr(), gUninstallLog.keys);
    return kDone;
}

std::int32_t PLUGIN_SERVICE pluginLogRegistryValue(std::uintptr_t root, const char* key, const char* valueName)
{
    std::int32_t number = 0;
    if (!rootInRange(root, number) || isEmpty(key) || valueName == nullptr)
        return kBadArgument;
    const std::string keyText = key;
    ByteString line;
    line.format(keyText.back() == '\\' ? "%d\\%s\\%s" : "%d\\%s\\\\%s", number, key, valueName);
    addListEntry(line.cStr(), gUninstallLog.values);
    return kDone;
}

std::int32_t PLUGIN_SERVICE pluginBackupFile(const char* path)
{
    if (isEmpty(path))
        return kBadArgument;
    InstallFileSystem& fs = installFileSystem();
    const FileVersionFacts version = fs.version(path);
    const auto writeTime = fs.lastWriteTime(path);
    if (!writeTime)
        return kSystemFailed;
    backUpFile(path, version.hasVersion ? version.high : 0, version.hasVersion ? version.low : 0, *writeTime);
    return kDone;
}

std::int32_t PLUGIN_SERVICE pluginCreateDirectory(const char* path)
{
    if (isEmpty(path))
        return kBadArgument;
    return installFileSystem().createFolders(path, true) ? kDone : kSystemFailed;
}

void fillPluginApiTable()
{
    PluginApiTable& table = gPluginApiTable;
    table.logFile = pluginLogFile;
    table.logRegistryKey = pluginLogRegistryKey;
    table.logRegistryValue = pluginLogRegistryValue;
    table.addSharedDll = pluginAddSharedDll;
    table.backupFile = pluginBackupFile;
    table.createDirectory = pluginCreateDirectory;
    table.settings = gPackageToc.pluginSettings.cStr();
    table.dialogImage = gInstallerContext.dialogImage;
    table.optionWord = &gInstallerContext.optionWord;
    table.getVariableText = getVariableText;
    table.getVariableInt = getVariableInt;
    table.setVariableText = setVariableText;
    table.setVariableInt = setVariableInt;
}
