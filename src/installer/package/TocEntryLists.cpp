#include "installer/package/TocEntryLists.h"

#include "installer/package/StoredCondition.h"

namespace {

// The smallest stored entry of each list (a text is at least its NUL, a condition its first
// word), so that a count the block cannot hold is refused before anything is reserved.
constexpr std::uint32_t kMinRegistryValue = 1 + 1 + 4 + 4 + 4;
constexpr std::uint32_t kMinRegistryKey = 1 + 4 + 4 + 4 + 4;
constexpr std::uint32_t kMinShortcut = 5 * 1 + 4;
constexpr std::uint32_t kMinIniEntry = 3 * 1 + 4;
constexpr std::uint32_t kMinTextFileEntry = 4 + 3 * 1 + 4;
constexpr std::uint32_t kMinStageFileOp = 4 + 2 * 1 + 4 + 4;
constexpr std::uint32_t kMinVariable = 1 + 4 + 4 + 1 + 3 * 1 + 4;
constexpr std::uint32_t kMinStageAction = 4 + 3 * 1 + 4 + 4 + 4 + 1 + 4;
constexpr std::uint32_t kMinPrerequisite = 4 + 4 + 4 * 1 + 4;

// The registry itself nests keys no deeper than this; a deeper stored tree is damage, and
// refusing it keeps the reading and freeing of the tree off a deep stack.
constexpr int kMaxRegistryDepth = 512;

// Reads count entries with readEntry into a list sized once for them.
template <typename Entry, typename ReadEntry>
bool readList(BlockReader& reader, std::uint32_t minEntrySize, std::vector<Entry>& entries, ReadEntry readEntry)
{
    std::uint32_t count = 0;
    if (!reader.readCount(count, minEntrySize))
        return false;
    entries.reserve(entries.size() + count);
    for (std::uint32_t i = 0; i < count; ++i) {
        entries.emplace_back();
        if (!readEntry(entries.back()))
            return false;
    }
    return true;
}

bool readRegistryValue(BlockReader& reader, RegistryValue& value)
{
    std::int32_t storedType = 0;
    reader.readText(value.name);
    reader.readText(value.data);
    reader.readInt(storedType);
    reader.readUnsigned(value.flags);
    value.type = registryTypeFromStored(storedType);
    return readStoredCondition(reader, value.condition);
}

bool readRegistryNode(BlockReader& reader, RegistryNode& node, std::int32_t& entryCount, int depth)
{
    if (!readList(reader, kMinRegistryValue, node.values, [&](RegistryValue& value) {
            ++entryCount;
            return readRegistryValue(reader, value);
        }))
        return false;
    if (depth >= kMaxRegistryDepth) {
        // A key this deep may hold values but no further keys.
        std::uint32_t subkeys = 0;
        if (!reader.readUnsigned(subkeys) || subkeys != 0) {
            reader.fail();
            return false;
        }
        return true;
    }
    return readList(reader, kMinRegistryKey, node.subkeys, [&](RegistryNode& subkey) {
        ++entryCount;
        subkey.rootKey = node.rootKey;
        reader.readText(subkey.name);
        reader.readUnsigned(subkey.flags);
        return readStoredCondition(reader, subkey.condition) && readRegistryNode(reader, subkey, entryCount, depth + 1);
    });
}

} // namespace

std::int32_t registryTypeFromStored(std::int32_t stored)
{
    switch (stored) {
    case 0: return kRegistryBinary;
    case 1: return kRegistryDword;
    case 2: return kRegistryString;
    case 3: return kRegistryMultiString;
    case 4: return kRegistryExpandString;
    default: return stored;
    }
}

bool readRegistryTree(BlockReader& reader, RegistryNode& node, std::int32_t& entryCount)
{
    return readRegistryNode(reader, node, entryCount, 0);
}

bool readShortcuts(BlockReader& reader, std::vector<ShortcutEntry>& entries)
{
    return readList(reader, kMinShortcut, entries, [&](ShortcutEntry& e) {
        reader.readText(e.target);
        reader.readText(e.shortcutFile);
        reader.readText(e.arguments);
        reader.readText(e.workingFolder);
        reader.readText(e.icon);
        return readStoredCondition(reader, e.condition);
    });
}

bool readIniEntries(BlockReader& reader, std::vector<IniEntry>& entries)
{
    return readList(reader, kMinIniEntry, entries, [&](IniEntry& e) {
        reader.readText(e.file);
        reader.readText(e.section);
        reader.readText(e.line);
        return readStoredCondition(reader, e.condition);
    });
}

bool readTextFileEntries(BlockReader& reader, std::vector<TextFileEntry>& entries)
{
    return readList(reader, kMinTextFileEntry, entries, [&](TextFileEntry& e) {
        reader.readInt(e.mode);
        reader.readText(e.file);
        reader.readText(e.searchText);
        reader.readText(e.lineText);
        return readStoredCondition(reader, e.condition);
    });
}

bool readStageFileOps(BlockReader& reader, std::vector<StageFileOp>& entries)
{
    return readList(reader, kMinStageFileOp, entries, [&](StageFileOp& e) {
        reader.readInt(e.type);
        reader.readText(e.source);
        reader.readText(e.destination);
        reader.readInt(e.step);
        return readStoredCondition(reader, e.condition);
    });
}

bool readVariables(BlockReader& reader, std::vector<std::unique_ptr<InstallerVariable>>& variables)
{
    return readList(reader, kMinVariable, variables, [&](std::unique_ptr<InstallerVariable>& slot) {
        slot = std::make_unique<InstallerVariable>();
        InstallerVariable& v = *slot;
        reader.readText(v.name);
        reader.readInt(v.kind);
        reader.readInt(v.state);
        reader.readText(v.defaultText);
        reader.readText(v.textA);
        reader.readText(v.textB);
        reader.readText(v.textC);
        return reader.readUnsigned(v.flags);
    });
}

bool readStageActions(BlockReader& reader, std::vector<StageAction>& entries)
{
    return readList(reader, kMinStageAction, entries, [&](StageAction& e) {
        reader.readInt(e.type);
        reader.readText(e.text1);
        reader.readText(e.text2);
        reader.readText(e.text3);
        reader.readInt(e.step);
        reader.readInt(e.runsLeft);
        reader.readUnsigned(e.flags);
        reader.readText(e.windowTitle);
        return readStoredCondition(reader, e.condition);
    });
}

bool readPrerequisites(BlockReader& reader, std::vector<Prerequisite>& entries)
{
    return readList(reader, kMinPrerequisite, entries, [&](Prerequisite& e) {
        reader.readInt(e.kind);
        reader.readInt(e.mode);
        reader.readText(e.requiredVersion);
        reader.readText(e.product);
        reader.readText(e.setup);
        reader.readText(e.arguments);
        return readStoredCondition(reader, e.condition);
    });
}
