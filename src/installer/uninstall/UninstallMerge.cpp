#include "installer/uninstall/UninstallMerge.h"

#include "installer/install/InstallFileSystem.h"
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"
#include "installer/uninstall/RegistryTrees.h"
#include "installer/uninstall/UninstallData.h"
#include "installer/uninstall/UninstallServices.h"
#include "installer/variables/UninstallerPath.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The sections of a body, as positions just past each heading.
struct BodySections {
    std::uint32_t versionStart = 0;
    std::uint32_t settingsStart = 0;
    std::uint32_t settingsEnd = 0;
    std::uint32_t sharedEnd = 0;
    std::uint32_t backupsEnd = 0;
    std::uint32_t filesEnd = 0;
    std::uint32_t directoriesEnd = 0;
    std::uint32_t registryEnd = 0;
};

std::uint64_t be32At(const ByteString& data, std::uint64_t pos)
{
    return data.readBE32(static_cast<std::uint32_t>(pos));
}

// The header's length (0 without one), or -1 when its lengths do not add up.
std::int64_t headerLength(const ByteString& plain)
{
    if (plain.at(0) != '\\')
        return 0;
    const std::uint64_t size = plain.length();
    if (size < 22)
        return -1;
    const std::uint64_t total = be32At(plain, 2) + 6;
    if (total > size)
        return -1;
    std::uint64_t pos = 6;
    pos += 4 + be32At(plain, pos); // language block
    if (pos + 4 > total)
        return -1;
    pos += 4 + be32At(plain, pos); // template
    if (pos + 8 > total)
        return -1;
    const std::uint64_t imagePart = be32At(plain, pos);
    if (imagePart < 4 || pos + 4 + imagePart != total)
        return -1;
    return static_cast<std::int64_t>(total);
}

std::int32_t findHeading(const ByteString& body, const char* heading, std::uint32_t from)
{
    const std::string pattern = std::string("\n") + heading + "\r\n";
    const std::int32_t at = body.find(pattern.c_str(), from);
    return at < 0 ? -1 : at + static_cast<std::int32_t>(pattern.size());
}

// The first line's product, version and settings, each ended by a NUL.
bool findFirstLine(const ByteString& body, BodySections& sections)
{
    const std::int32_t lineEnd = body.findChar('\r');
    const std::int32_t firstNul = body.findChar(0);
    if (firstNul < 0 || lineEnd < 0 || firstNul > lineEnd)
        return false;
    const std::int32_t secondNul = body.findChar(0, static_cast<std::uint32_t>(firstNul) + 1);
    if (secondNul < 0 || secondNul > lineEnd)
        return false;
    const std::int32_t thirdNul = body.findChar(0, static_cast<std::uint32_t>(secondNul) + 1);
    if (thirdNul < 0 || body.at(static_cast<std::uint32_t>(thirdNul) + 1) != '\r')
        return false;
    sections.versionStart = static_cast<std::uint32_t>(firstNul) + 1;
    sections.settingsStart = static_cast<std::uint32_t>(secondNul) + 1;
    sections.settingsEnd = static_cast<std::uint32_t>(thirdNul);
    return true;
}

bool findHeadings(const ByteString& body, BodySections& sections)
{
    std::int32_t at = static_cast<std::int32_t>(sections.settingsEnd) + 1;
    std::uint32_t* ends[] = {&sections.sharedEnd, &sections.backupsEnd, &sections.filesEnd,
                             &sections.directoriesEnd, &sections.registryEnd};
    const char* headings[] = {"Shared:", "Backups:", "Files:", "Directories:", "Registry:"};
    for (std::size_t i = 0; i < 5; ++i) {
        at = findHeading(body, headings[i], static_cast<std::uint32_t>(at) - 1);
        if (at < 0)
            return false;
        *ends[i] = static_cast<std::uint32_t>(at);
    }
    return true;
}

bool olderLayout(const ByteString& body)
{
    const std::int32_t files = body.find("Files:\r\n");
    const std::int32_t backups = body.find("Backups:\r\n");
    return files >= 0 && (backups < 0 || files < backups);
}

void appendRange(ByteString& out, const ByteString& from, std::uint32_t start, std::uint32_t end)
{
    if (end > start)
        out.appendCStr(reinterpret_cast<const char*>(from.data() + start), end - start);
}

void appendNewestFirst(ByteString& out, const std::vector<std::string>& entries, bool cutSuffix)
{
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        std::string line = *entry;
        if (cutSuffix)
            line = line.substr(0, line.find('|'));
        out.appendCStr(line.c_str(), static_cast<std::uint32_t>(line.size()));
        out.appendCStr("\r\n");
    }
}

std::vector<std::string> backupLines()
{
    std::vector<std::string> lines;
    const ByteString& text = gUninstallLog.backupText;
    if (text.empty())
        return lines;
    const std::string all(reinterpret_cast<const char*>(text.data()), text.length());
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = all.find("\r\n", start);
        lines.push_back(all.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return lines;
}

// Whether the stored trees read back whole, with nothing after them (tried on scratch trees).
bool storedTreesReadable(const ByteString& stored)
{
    std::array<RegistryNode, 4> scratch;
    std::uint32_t position = 0;
    for (RegistryNode& root : scratch)
        if (!readRegistryTree(root, stored, &position))
            return false;
    return position == stored.length();
}

std::uint32_t le32At(const ByteString& data, std::uint32_t pos)
{
    return static_cast<std::uint32_t>(data.at(pos)) | static_cast<std::uint32_t>(data.at(pos + 1)) << 8 |
           static_cast<std::uint32_t>(data.at(pos + 2)) << 16 | static_cast<std::uint32_t>(data.at(pos + 3)) << 24;
}

void appendLE32(ByteString& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.appendChar(static_cast<std::uint8_t>(value >> shift));
}

// The body with this run's settings in place of the stored ones; at follows the change.
ByteString withThisRunsSettings(const ByteString& stored, BodySections& at)
{
    ByteString body(stored.data(), at.settingsStart);
    body.append(expandedUninstallSettings());
    const std::uint32_t storedSettingsEnd = at.settingsEnd;
    at.settingsEnd = body.length();
    appendRange(body, stored, storedSettingsEnd, stored.length());
    return body;
}

} // namespace

MergeOutcome mergeIntoPlainData(ByteString& plain)
{
    if (plain.length() < 2)
        return MergeOutcome::Damaged;
    const std::int64_t header = headerLength(plain);
    if (header < 0)
        return MergeOutcome::Damaged;
    const std::uint32_t headerSize = static_cast<std::uint32_t>(header);
    const ByteString stored(plain.data() + headerSize, plain.length() - headerSize);
    BodySections at;
    if (!findFirstLine(stored, at))
        return olderLayout(stored) ? MergeOutcome::KeptAsItWas : MergeOutcome::Damaged;

    const std::string version(reinterpret_cast<const char*>(stored.data() + at.versionStart),
                              at.settingsStart - 1 - at.versionStart);
    const bool keepSuffixes = version > "102";
    const bool update = (gInstallerContext.packageOptions & kPackageUpdate) != 0;
    const bool newSettings = !update && !gUninstallLog.omitSettings && version > "101";
    // The layout is judged with this run's settings in place, as the merged data holds them:
    // judged before, a stored settings text could pass data that a second merge keeps unmerged.
    const ByteString body = newSettings ? withThisRunsSettings(stored, at) : stored;
    if (olderLayout(body))
        return MergeOutcome::KeptAsItWas;
    if (!findHeadings(body, at))
        return MergeOutcome::Damaged;
    const ByteString storedTrees(body.data() + at.registryEnd, body.length() - at.registryEnd);
    if (!storedTrees.empty() && !storedTreesReadable(storedTrees))
        return MergeOutcome::Damaged;

    ByteString merged(plain.data(), headerSize);
    appendRange(merged, body, 0, at.sharedEnd);
    appendNewestFirst(merged, listEntries(gUninstallLog.shared), !keepSuffixes);
    appendRange(merged, body, at.sharedEnd, at.backupsEnd);
    appendNewestFirst(merged, backupLines(), false);
    appendRange(merged, body, at.backupsEnd, at.filesEnd);
    appendNewestFirst(merged, listEntries(gUninstallLog.files), false);
    appendRange(merged, body, at.filesEnd, at.directoriesEnd);
    appendNewestFirst(merged, listEntries(gUninstallLog.directories), false);
    appendRange(merged, body, at.directoriesEnd, at.registryEnd);
    for (ByteString* list : {&gUninstallLog.shared, &gUninstallLog.backupText, &gUninstallLog.files,
                             &gUninstallLog.directories})
        *list = ByteString();

    std::uint32_t position = 0;
    if (!storedTrees.empty())
        for (RegistryNode& root : gPackageToc.registryRoots)
            readRegistryTree(root, storedTrees, &position);
    addLoggedRegistry();
    for (RegistryNode& root : gPackageToc.registryRoots)
        writeRegistryTree(merged, root);
    plain = std::move(merged);
    return MergeOutcome::Merged;
}

MergeOutcome mergeIntoUninstallerBytes(ByteString& fileData)
{
    const std::uint32_t size = fileData.length();
    if (size < 4)
        return MergeOutcome::Damaged;
    const std::uint32_t offset = le32At(fileData, size - 4);
    if (offset > size - 4)
        return MergeOutcome::Damaged;
    ByteString plain(fileData.data() + offset, size - 4 - offset);
    if (!plain.unscramble() || !plain.unscramble())
        return MergeOutcome::Damaged;
    const MergeOutcome outcome = mergeIntoPlainData(plain);
    if (outcome != MergeOutcome::Merged)
        return outcome;
    plain.scramble();
    plain.scramble();
    ByteString result(fileData.data(), offset);
    result.append(plain);
    appendLE32(result, offset);
    fileData = std::move(result);
    return MergeOutcome::Merged;
}

ByteString damagedUninstallDataText(const char* path)
{
    ByteString text;
    text.format("The uninstall data in \"%s\" is damaged; this installation could not be added to it.", path);
    return text;
}

ByteString unwritableUninstallerText(const char* path, const std::string& reason)
{
    ByteString text;
    text.format("The uninstall data of this installation could not be added to \"%s\": %s", path, reason.c_str());
    return text;
}

int mergeUninstallData()
{
    ByteString path = uninstallerPath();
    if (path.empty() || !installFileSystem().exists(path.cStr()))
        return 1;
    const UninstallServices& services = uninstallServices();
    // Checked before the merge takes the entries out of the log: when the file cannot be
    // written, the log keeps them for the rollback.
    std::string reason = services.whyNotWritable ? services.whyNotWritable(path.cStr()) : std::string();
    ByteString fileData;
    if (reason.empty() && fileData.loadFromFile(path.cStr()) < 0)
        reason = "it could not be read";
    if (!reason.empty()) {
        if (services.showError)
            services.showError(nullptr, unwritableUninstallerText(path.cStr(), reason).cStr());
        return 0;
    }
    const MergeOutcome outcome = mergeIntoUninstallerBytes(fileData);
    if (outcome == MergeOutcome::KeptAsItWas)
        return 1;
    if (outcome == MergeOutcome::Damaged) {
        if (services.showError)
            services.showError(nullptr, damagedUninstallDataText(path.cStr()).cStr());
        return 1;
    }
    if (fileData.saveToFile(path.cStr()) != 1) {
        const std::string late = services.whyNotWritable ? services.whyNotWritable(path.cStr()) : std::string();
        if (services.showError)
            services.showError(nullptr,
                               unwritableUninstallerText(path.cStr(), late.empty() ? "it could not be saved" : late).cStr());
        return 0;
    }
    return 1;
}
