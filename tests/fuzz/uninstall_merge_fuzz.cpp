// Arbitrary bytes as an installed uninstaller's file and as plain uninstall data: the merge
// reads nothing outside them, and whatever it accepts comes out as data it accepts again.
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/RegistryTrees.h"
#include "installer/uninstall/UninstallMerge.h"

#include <cstdint>

namespace {

void freshLog()
{
    gUninstallLog = UninstallLog{};
    for (RegistryNode& root : gPackageToc.registryRoots)
        clearRegistryTree(root);
    addListEntry("C:\\app\\file.txt", gUninstallLog.files);
    addListEntry("C:\\app", gUninstallLog.directories);
    addListEntry("C:\\app\\lib.dll|ctrl", gUninstallLog.shared);
    addListEntry("-2147483646\\Software\\App", gUninstallLog.keys);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    const ByteString input(data, static_cast<std::uint32_t>(size));

    freshLog();
    ByteString plain = input;
    if (mergeIntoPlainData(plain) == MergeOutcome::Merged) {
        freshLog();
        if (mergeIntoPlainData(plain) != MergeOutcome::Merged)
            __builtin_trap();
    }

    freshLog();
    ByteString file = input;
    if (mergeIntoUninstallerBytes(file) == MergeOutcome::Merged) {
        freshLog();
        if (mergeIntoUninstallerBytes(file) != MergeOutcome::Merged)
            __builtin_trap();
    } else if (!file.equals(input)) {
        __builtin_trap();
    }
    return 0;
}
