#pragma once
// The small tables that the package header points to. Each reader returns false, and leaves
// its output empty, when the table does not lie whole inside the installer file.
#include "installer/package/PackageSource.h"
#include "installer/state/TemplateEntry.h"
#include "installer/text/ByteString.h"

#include <cstdint>
#include <vector>

// Per entry: [n][n bytes of template][page type][show-once][m][m bytes of condition].
bool readTemplateTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset,
                       std::vector<TemplateEntry>& entries);
// count 32-bit values, each stored little-endian.
bool readIdentifierTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset,
                         std::vector<std::uint32_t>& identifiers);
// Per entry: [length][length bytes of the image path].
bool readSlideshowTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset,
                        std::vector<ByteString>& paths);

// Where one member of a member table lies in the installer file.
struct TableMember {
    std::uint32_t id = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// Per entry: [id] when withIds, [size][size bytes of member]. Only where the members lie is read.
bool readMemberTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset, bool withIds,
                     std::vector<TableMember>& members);
