#pragma once
// The registry part of the uninstall data: the package's four root trees carry what the run
// did to each key and value; they are written depth first and read back when data is merged.
//
// Layout of one node: BE32 count of values, per value its name, NUL and BE32 flags; BE32 count
// of subkeys, per subkey BE32 flags, its name, NUL and the subkey's own node.
#include "installer/state/InstallerState.h"
#include "installer/text/ByteString.h"

#include <cstdint>

// The deepest key path read back; the registry itself allows no deeper keys.
constexpr int kMaxRegistryTreeDepth = 512;

// Finds or creates the keys of path (backslash-separated) below node; out receives the last
// key. flags give the wanted action and the mark the keys get. True when the last key was
// created.
bool addKeyPath(RegistryNode& node, const ByteString& path, RegistryNode*& out, std::uint32_t flags);

// Appends node's processed values and subkeys and frees them.
void writeRegistryTree(ByteString& out, RegistryNode& node);

// Reads one node written by writeRegistryTree at *position into node, moving *position past
// it. False (node partly filled) when the data is truncated, a count cannot be right, a name
// has no end or the keys nest deeper than kMaxRegistryTreeDepth.
bool readRegistryTree(RegistryNode& node, const ByteString& data, std::uint32_t* position);

// Frees the values and subkeys of node.
void clearRegistryTree(RegistryNode& node);

// Adds the keys and values the plug-in logged to the four root trees and empties both lists.
void addLoggedRegistry();
