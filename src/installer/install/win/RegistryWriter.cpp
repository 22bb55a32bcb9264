#include "installer/install/win/RegistryWriter.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/RegistryData.h"
#include "installer/install/SystemChanges.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/TextExpansion.h"

#include <array>

namespace {

constexpr std::uint32_t kWritten = 1;
constexpr std::uint32_t kProcessed = 2;

void expandAll(ByteString& text)
{
    expandFolderVariables(text);
    expandBuiltinVariables(text);
    expandVariables(text, kAllVariables);
}

void reportProgress(std::int32_t done)
{
    const std::int32_t total = gPackageToc.registryEntryCount;
    if (total != 0)
        setProgress(static_cast<std::int32_t>(static_cast<std::int64_t>(done) * 100 / total), 0);
}

bool setValue(HKEY key, RegistryValue& value)
{
    const auto data = registryValueData(value.type, value.data);
    if (!data)
        return false;
    const BYTE* bytes = data->empty() ? nullptr : data->data();
    return setRegistryValue(key, value.name.cStr(), static_cast<DWORD>(value.type), bytes,
                            static_cast<DWORD>(data->size())) == ERROR_SUCCESS;
}

// Read and write access, else write only, else read only.
bool createKey(HKEY parent, const char* name, HKEY& key, DWORD& disposition)
{
    for (const REGSAM access : {KEY_READ | KEY_WRITE, KEY_WRITE, KEY_READ}) {
        if (RegCreateKeyExW(parent, WideName(name), 0, nullptr, REG_OPTION_NON_VOLATILE, access | registryViewBits(), nullptr,
                            &key, &disposition) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

} // namespace

void writeRegistry(HKEY key, RegistryNode& node, std::int32_t& errors, std::int32_t& done)
{
    for (RegistryValue& value : node.values) {
        if (!conditionHolds(value.condition.get()))
            continue;
        expandAll(value.name);
        expandAll(value.data);
        if (setValue(key, value)) {
            value.resultFlags = kWritten;
        } else {
            ++errors;
            value.resultFlags = 0;
        }
        value.resultFlags |= kProcessed;
        ++done;
        reportProgress(done);
    }
    for (RegistryNode& subkey : node.subkeys) {
        if (!conditionHolds(subkey.condition.get()))
            continue;
        expandAll(subkey.name);
        HKEY child = nullptr;
        DWORD disposition = 0;
        const bool opened = createKey(key, subkey.name.cStr(), child, disposition);
        ++done;
        reportProgress(done);
        if (!opened) {
            ++errors;
            continue;
        }
        subkey.state = (disposition == REG_CREATED_NEW_KEY ? 1 : 0) | static_cast<std::int32_t>(kProcessed);
        writeRegistry(child, subkey, errors, done);
        RegCloseKey(child);
    }
}

bool writeRegistryTrees()
{
    const std::array<HKEY, 4> roots{HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    std::int32_t errors = 0;
    std::int32_t done = 0;
    for (std::size_t i = 0; i < roots.size(); ++i)
        writeRegistry(roots[i], gPackageToc.registryRoots[i], errors, done);
    return errors == 0;
}
