#pragma once
// The entries of the table of contents: registry trees, shortcuts, INI and text-file entries, the
// file operations and actions attached to wizard steps, and the prerequisites. Each entry owns
// its condition; a null condition always holds.
#include "installer/state/ConditionRecord.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <vector>

// The registry's own value types, to which the stored types are mapped.
enum RegistryValueType : std::int32_t {
    kRegistryString = 1,
    kRegistryExpandString = 2,
    kRegistryBinary = 3,
    kRegistryDword = 4,
    kRegistryMultiString = 7,
};

struct RegistryValue {
    ByteString name;
    ByteString data;
    std::int32_t type = kRegistryString;
    // What the installation did with the value; 0 until then.
    std::uint32_t resultFlags = 0;
    std::uint32_t flags = 0;
    ConditionPtr condition;
};

// A key with its values and subkeys. The four roots carry the predefined key handle values
// (0x80000000 HKEY_CLASSES_ROOT to 0x80000003 HKEY_USERS) and an empty name; every key below
// takes its root from its parent.
struct RegistryNode {
    std::uint32_t rootKey = 0;
    ByteString name;
    std::vector<RegistryValue> values;
    std::vector<RegistryNode> subkeys;
    // What the installation did with the key; 0 until then.
    std::int32_t state = 0;
    std::uint32_t flags = 0;
    ConditionPtr condition;
};

struct ShortcutEntry {
    ByteString target;
    ByteString shortcutFile;
    ByteString arguments;
    ByteString workingFolder;
    // The icon file, a comma and the icon index.
    ByteString icon;
    ConditionPtr condition;
};

struct IniEntry {
    ByteString file;
    ByteString section;
    // key=value
    ByteString line;
    ConditionPtr condition;
};

struct TextFileEntry {
    std::int32_t mode = 0;
    ByteString file;
    ByteString searchText;
    ByteString lineText;
    ConditionPtr condition;
};

// A file operation (type 0-5) run when the wizard leaves the page of its step.
struct StageFileOp {
    std::int32_t type = 0;
    ByteString source;
    ByteString destination;
    std::int32_t step = 0;
    ConditionPtr condition;
};

// An action (type 0-9) run when the wizard leaves the page of its step.
struct StageAction {
    std::int32_t type = 0;
    ByteString text1;
    ByteString text2;
    ByteString text3;
    std::int32_t step = 0;
    // -1 = every time.
    std::int32_t runsLeft = -1;
    std::uint32_t flags = 0;
    ByteString windowTitle;
    ConditionPtr condition;
};

// A component setup the product needs before it is installed.
struct Prerequisite {
    std::int32_t kind = 0;
    std::int32_t mode = 0;
    ByteString requiredVersion;
    ByteString product;
    // A path, or the download address in mode 1.
    ByteString setup;
    ByteString arguments;
    ConditionPtr condition;
};
