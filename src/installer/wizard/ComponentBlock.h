#pragma once
// The package's component block: top-level components one after another, each followed by its
// children, depth first.
#include "installer/text/ByteString.h"

#include <cstdint>
#include <optional>
#include <vector>

constexpr std::uint32_t kComponentFixed = 0x1;
constexpr std::uint32_t kComponentSelectedByDefault = 0x4;

struct ComponentRecord {
    ByteString name;
    ByteString description;
    std::uint32_t flags = 0;
    std::uint32_t bytes = 0;
    std::uint32_t mp3Bytes = 0;
    std::uint32_t jpegBytes = 0;
    std::uint32_t otherBytes = 0;
    std::uint32_t depth = 0;
    // The index of the parent in tree order; -1 for the top level.
    std::int32_t parent = -1;
};

// The components in tree order; none when the block ends inside a component or a child count
// claims more components than the block holds. Walked without recursion, so no depth of nesting
// exhausts the stack.
std::optional<std::vector<ComponentRecord>> readComponentBlock(const ByteString& block, std::uint32_t topLevelCount);
