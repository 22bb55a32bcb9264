#include "installer/package/TocRead.h"

#include "installer/package/BlockReader.h"
#include "installer/package/PackageHeaderFields.h"
#include "installer/package/TocEntryLists.h"
#include "installer/package/TocSettings.h"

#include <vector>

namespace {
// The predefined key handle values of the four registry roots, in their stored order.
constexpr std::uint32_t kRegistryRootKeys[] = {0x80000000, 0x80000001, 0x80000002, 0x80000003};
} // namespace

TocTargets globalTocTargets()
{
    return TocTargets{gPackageToc, gInstallerContext, gBackgroundStyle, gSystemRequirements, gSlideshowSettings, gFlags};
}

bool parseTocBlock(const ByteString& block, const TocTargets& t)
{
    BlockReader reader(block);
    PackageToc& toc = t.toc;
    toc.registryEntryCount = 0;
    for (std::size_t i = 0; i < toc.registryRoots.size(); ++i) {
        toc.registryRoots[i] = RegistryNode();
        toc.registryRoots[i].rootKey = kRegistryRootKeys[i];
        if (!readRegistryTree(reader, toc.registryRoots[i], toc.registryEntryCount))
            return false;
    }
    return readShortcuts(reader, toc.shortcuts) && readIniEntries(reader, toc.iniEntries) &&
           readTextFileEntries(reader, toc.textFileEntries) && readStageFileOps(reader, toc.stageFileOps) &&
           readVariables(reader, toc.variables) && readStageActions(reader, toc.stageActions) &&
           readPrerequisites(reader, toc.prerequisites) && readTocSettings(reader, t);
}

int readTocFromBlock(ByteString block, const TocTargets& targets)
{
    targets.toc.installationType = kTypicalInstallation;
    if (!block.unscramble() || !block.unscramble() || !parseTocBlock(block, targets))
        return kTocDamaged;
    targets.toc.languagePreselection = -1;
    return kTocRead;
}

int readTocFromPackage(const PackageSource& file, const ByteString& header, const TocTargets& targets)
{
    const std::uint32_t offset = header.readBE32(kHeaderFieldTocOffset);
    const std::uint32_t length = header.readBE32(kHeaderFieldTocLength);
    if (offset == 0 || length == 0)
        return kTocNotInHeader;
    // Checked before anything is reserved: a length the file cannot hold is never allocated.
    if (offset > file.size() || length > file.size() - offset)
        return kTocNotLoaded;
    std::vector<std::uint8_t> bytes(length);
    if (!file.readAt(offset, bytes.data(), length))
        return kTocNotLoaded;
    return readTocFromBlock(ByteString(bytes.data(), length), targets);
}
