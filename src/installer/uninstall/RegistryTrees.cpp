#include "installer/uninstall/RegistryTrees.h"

#include "installer/state/UninstallLists.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint32_t kProcessed = 0x2;

// The action a key is to get from the flags it is added with.
std::uint32_t wantedAction(std::uint32_t flags)
{
    if (flags & 0x2)
        return 2;
    if (flags & 0x4)
        return 4;
    if (flags & 0x8)
        return 3;
    if (flags & 0x1)
        return 0;
    return 1;
}

RegistryNode* findSubkey(RegistryNode& node, const ByteString& name)
{
    for (RegistryNode& subkey : node.subkeys)
        if (subkey.name.equals(name, 0))
            return &subkey;
    return nullptr;
}

bool hasValue(const RegistryNode& node, const ByteString& name)
{
    for (const RegistryValue& value : node.values)
        if (value.name.equals(name, 0))
            return true;
    return false;
}

std::uint32_t writtenKeyFlags(const RegistryNode& key)
{
    std::uint32_t flags = static_cast<std::uint32_t>(key.state) & ~kProcessed;
    switch (key.flags) {
    case 1: return flags & ~0x1u;
    case 2: return flags | 0x3;
    case 3: return flags | 0x9;
    case 4: return flags | 0x5;
    default: return flags;
    }
}

// The name ending at the next NUL from *position; false when there is none.
bool readName(const ByteString& data, std::uint32_t* position, ByteString& name)
{
    const std::int32_t end = data.findChar(0, *position);
    if (end < 0 || static_cast<std::uint32_t>(end) < *position)
        return false;
    name = ByteString(data.data() + *position, static_cast<std::uint32_t>(end) - *position);
    *position = static_cast<std::uint32_t>(end) + 1;
    return true;
}

bool readBE32(const ByteString& data, std::uint32_t* position, std::uint32_t& value)
{
    if (data.length() < 4 || *position > data.length() - 4)
        return false;
    value = data.readBE32(*position);
    *position += 4;
    return true;
}

// The keys a backslash-separated path names (empty parts name none).
int pathKeyCount(const ByteString& path)
{
    int count = 0;
    bool inName = false;
    for (std::uint32_t i = 0; i < path.length(); ++i) {
        const bool separator = path.at(i) == '\\';
        if (!separator && !inName)
            ++count;
        inName = !separator;
    }
    return count;
}

// depth: the keys above node; a subkey is read only when its own depth stays within the limit.
bool readNode(RegistryNode& node, const ByteString& data, std::uint32_t* position, int depth)
{
    std::uint32_t valueCount = 0;
    if (!readBE32(data, position, valueCount))
        return false;
    // Every value takes at least 5 bytes (NUL and flags): a larger count cannot be right.
    if (valueCount > (data.length() - *position) / 5)
        return false;
    for (std::uint32_t i = 0; i < valueCount; ++i) {
        ByteString name;
        std::uint32_t flags = 0;
        if (!readName(data, position, name) || !readBE32(data, position, flags))
            return false;
        if (hasValue(node, name))
            continue;
        RegistryValue value;
        value.name = std::move(name);
        value.resultFlags = flags | kProcessed;
        value.flags = 0;
        node.values.push_back(std::move(value));
    }
    std::uint32_t keyCount = 0;
    if (!readBE32(data, position, keyCount))
        return false;
    // Flags, NUL and the two counts of its own node: at least 13 bytes a key.
    if (keyCount > (data.length() - *position) / 13)
        return false;
    for (std::uint32_t i = 0; i < keyCount; ++i) {
        std::uint32_t flags = 0;
        ByteString name;
        if (!readBE32(data, position, flags) || !readName(data, position, name))
            return false;
        // A name may be a path: its keys count towards the depth, or a tree read back would
        // write out deeper than it can be read again.
        const int keyDepth = depth + std::max(1, pathKeyCount(name));
        if (keyDepth > kMaxRegistryTreeDepth)
            return false;
        RegistryNode* key = nullptr;
        addKeyPath(node, name, key, flags);
        // A name that is no key (empty, or only backslashes) marks node itself: its subtree
        // joins node's.
        if (!readNode(key ? *key : node, data, position, keyDepth))
            return false;
    }
    return true;
}

std::size_t rootIndex(std::int32_t root)
{
    switch (root) {
    case -2147483647: return 1;
    case -2147483646: return 2;
    case -2147483645: return 3;
    default: return 0;
    }
}

// Splits "root\path" into the tree of root and the path.
RegistryNode& loggedTree(const std::string& entry, std::string& path)
{
    const std::size_t slash = entry.find('\\');
    const std::string root = entry.substr(0, slash);
    path = slash == std::string::npos ? std::string() : entry.substr(slash + 1);
    const std::int32_t number = static_cast<std::int32_t>(std::strtol(root.c_str(), nullptr, 10));
    return gPackageToc.registryRoots[rootIndex(number)];
}

} // namespace

bool addKeyPath(RegistryNode& node, const ByteString& path, RegistryNode*& out, std::uint32_t flags)
{
    const std::uint32_t action = wantedAction(flags);
    const std::uint32_t mark = (flags & ~0xCu) | kProcessed;
    RegistryNode* current = &node;
    bool created = false;
    std::uint32_t start = 0;
    const std::uint32_t length = path.length();
    while (start < length) {
        const std::int32_t slash = path.findChar('\\', start);
        const std::uint32_t end = slash < 0 ? length : static_cast<std::uint32_t>(slash);
        if (end == start) {
            start = end + 1;
            continue;
        }
        const ByteString name(path.data() + start, end - start);
        RegistryNode* key = findSubkey(*current, name);
        created = key == nullptr;
        if (created) {
            RegistryNode fresh;
            fresh.name = name;
            fresh.state = static_cast<std::int32_t>(mark);
            fresh.rootKey = current->rootKey;
            fresh.flags = action;
            current->subkeys.push_back(std::move(fresh));
            key = &current->subkeys.back();
        }
        current = key;
        start = end + 1;
    }
    out = current;
    if (current == &node) {
        node.state |= static_cast<std::int32_t>(mark);
        return false;
    }
    // Only the last key's action and mark change; existing keys on the way keep theirs.
    if (!created) {
        if (current->flags == 1 || (current->flags < action && action != 1))
            current->flags = action;
        current->state |= static_cast<std::int32_t>(mark);
    }
    return created;
}

void writeRegistryTree(ByteString& out, RegistryNode& node)
{
    std::uint32_t valueCount = 0;
    for (const RegistryValue& value : node.values)
        if ((value.resultFlags & kProcessed) && value.flags != 1)
            ++valueCount;
    out.appendBE32(valueCount);
    for (const RegistryValue& value : node.values) {
        if (!(value.resultFlags & kProcessed) || value.flags == 1)
            continue;
        out.append(value.name);
        out.appendChar(0);
        out.appendBE32((value.resultFlags & ~kProcessed) | (value.flags == 2 ? 1u : 0u));
    }
    node.values.clear();

    std::uint32_t keyCount = 0;
    for (const RegistryNode& key : node.subkeys)
        if (static_cast<std::uint32_t>(key.state) & kProcessed)
            ++keyCount;
    out.appendBE32(keyCount);
    for (RegistryNode& key : node.subkeys) {
        if (!(static_cast<std::uint32_t>(key.state) & kProcessed))
            continue;
        out.appendBE32(writtenKeyFlags(key));
        out.append(key.name);
        out.appendChar(0);
        writeRegistryTree(out, key);
    }
    node.subkeys.clear();
}

bool readRegistryTree(RegistryNode& node, const ByteString& data, std::uint32_t* position)
{
    if (!position || *position > data.length())
        return false;
    return readNode(node, data, position, 0);
}

void clearRegistryTree(RegistryNode& node)
{
    node.values.clear();
    node.subkeys.clear();
}

void addLoggedRegistry()
{
    UninstallLog& log = gUninstallLog;
    for (const std::string& entry : listEntries(log.keys)) {
        std::string path;
        RegistryNode& tree = loggedTree(entry, path);
        RegistryNode* key = nullptr;
        addKeyPath(tree, ByteString(path.c_str()), key, 2);
    }
    for (const std::string& entry : listEntries(log.values)) {
        std::string path;
        RegistryNode& tree = loggedTree(entry, path);
        const std::size_t split = path.find("\\\\");
        const std::string keyPath = path.substr(0, split);
        const std::string valueName = split == std::string::npos ? std::string() : path.substr(split + 2);
        RegistryNode* key = nullptr;
        addKeyPath(tree, ByteString(keyPath.c_str()), key, 2);
        RegistryValue value;
        value.name = ByteString(valueName.c_str());
        value.resultFlags = 1;
        value.flags = 0;
        key->values.push_back(std::move(value));
    }
    log.keys = ByteString();
    log.values = ByteString();
}
