#include "installer/install/win/RegistryAccess.h"

#include "installer/install/win/StartupQuestions.h"
#include "installer/state/InstallerState.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/VariableApi.h"

#include <algorithm>
#include <cstdint>

namespace {

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};
const char* const kNoAccessText =
    "You don't have the required privileges to continue the installation. Please have your system administrator "
    "(or some other user with higher privileges) install this software\n"
    "(Couldn't get write access to the \"%s\" registry key)";
constexpr std::uint32_t kFirstPredefinedKey = 0x80000000;

LONG openKey(HKEY parent, const char* name, REGSAM access, HKEY* key)
{
    return RegOpenKeyExW(parent, WideName(name), 0, access, key);
}

RegistryKeyOpener currentOpener = openKey;

bool conditionsApply()
{
    return (gInstallerContext.optionWord & kOptionConditionsInAccessTest) != 0;
}

bool hasValues(const RegistryNode& node)
{
    if (!conditionsApply())
        return !node.values.empty();
    return std::any_of(node.values.begin(), node.values.end(),
                       [](const RegistryValue& value) { return conditionHolds(value.condition.get()); });
}

std::string joined(const std::vector<std::string>& path)
{
    std::string text;
    for (const std::string& element : path)
        text += (text.empty() ? "" : "\\") + element;
    return text;
}

bool refuse(const std::vector<std::string>& path)
{
    if (gPackageToc.privilegesQuiet) {
        setVariableInt("<InsufficientPrivileges>", 1);
        return false;
    }
    ByteString format(kNoAccessText);
    if (const char* own = getVariableText("<__Internal_NoRegAccess__>")) {
        format = ByteString(own);
        format.replace("<\\n>", "\n");
    }
    ByteString text;
    text.format(format.cStr(), {joined(path).c_str()});
    askAtStartup(text.cStr(), nullptr, MB_OK);
    return false;
}

} // namespace

RegistryKeyOpener setRegistryKeyOpener(RegistryKeyOpener opener)
{
    const RegistryKeyOpener previous = currentOpener;
    currentOpener = opener ? opener : openKey;
    return previous;
}

bool testRegistryWrite(HKEY parentKey, const RegistryNode& node, std::vector<std::string>& path, bool parentWritable)
{
    if (conditionsApply() && !conditionHolds(node.condition.get()))
        return true;
    ByteString name = node.name;
    HKEY key = nullptr;
    LONG opened = currentOpener(parentKey, name.cStr(), KEY_SET_VALUE | KEY_CREATE_SUB_KEY | READ_CONTROL | registryViewBits(), &key);
    const bool named = !name.empty();
    if (named)
        path.emplace_back(name.cStr());
    const auto dropName = [&] {
        if (named)
            path.pop_back();
    };
    bool writable = opened == ERROR_SUCCESS;
    if (opened == ERROR_ACCESS_DENIED) {
        if (hasValues(node))
            return refuse(path);
        // A key that cannot even be read is named like one that cannot be written.
        if (currentOpener(parentKey, name.cStr(), KEY_READ | registryViewBits(), &key) != ERROR_SUCCESS)
            return refuse(path);
    } else if (opened == ERROR_FILE_NOT_FOUND) {
        dropName();
        if (!parentWritable)
            return refuse(path);
        return true;
    } else if (opened != ERROR_SUCCESS) {
        dropName();
        return true;
    }
    bool passed = true;
    for (const RegistryNode& subkey : node.subkeys) {
        if (!testRegistryWrite(key, subkey, path, writable)) {
            passed = false;
            break;
        }
    }
    RegCloseKey(key);
    if (passed)
        dropName();
    return passed;
}

int checkRegistryAccess()
{
    if (gInstallerContext.osVersion.platformId != VER_PLATFORM_WIN32_NT)
        return 1;
    for (std::uint32_t i = 0; i < gPackageToc.registryRoots.size(); ++i) {
        std::vector<std::string> path{kRootNames[i]};
        if (!testRegistryWrite(predefinedRootKey(kFirstPredefinedKey + i), gPackageToc.registryRoots[i], path, false))
            return 0;
    }
    return 1;
}
