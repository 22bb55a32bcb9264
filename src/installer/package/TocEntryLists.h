#pragma once
// Readers of the entry lists of the table of contents, in their stored layout. Each appends to
// its output and returns false when the block ends inside the list.
#include "installer/package/BlockReader.h"
#include "installer/state/InstallerState.h"

// Stored 0 binary, 1 double word, 2 string, 3 multi-string, 4 expandable string; any other value
// is kept as it is.
std::int32_t registryTypeFromStored(std::int32_t stored);

// One key's values and subkeys, depth first: [value count], per value [name][data][type][flags]
// [condition]; [subkey count], per subkey [name][flags][condition] and then its own values and
// subkeys. Every value and subkey adds one to entryCount.
bool readRegistryTree(BlockReader& reader, RegistryNode& node, std::int32_t& entryCount);
bool readShortcuts(BlockReader& reader, std::vector<ShortcutEntry>& entries);
bool readIniEntries(BlockReader& reader, std::vector<IniEntry>& entries);
bool readTextFileEntries(BlockReader& reader, std::vector<TextFileEntry>& entries);
bool readStageFileOps(BlockReader& reader, std::vector<StageFileOp>& entries);
// Variables carry no condition; each starts with its stored source as its state and no value.
bool readVariables(BlockReader& reader, std::vector<std::unique_ptr<InstallerVariable>>& variables);
bool readStageActions(BlockReader& reader, std::vector<StageAction>& entries);
bool readPrerequisites(BlockReader& reader, std::vector<Prerequisite>& entries);
