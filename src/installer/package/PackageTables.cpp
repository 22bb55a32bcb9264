#include "installer/package/PackageTables.h"

#include "installer/package/PackageTableReader.h"

namespace {

// The smallest entry of each table, to refuse counts the file cannot hold before reserving.
constexpr std::uint32_t kMinTemplateEntry = 16;
constexpr std::uint32_t kIdentifierEntry = 4;
constexpr std::uint32_t kMinSlideshowEntry = 4;
constexpr std::uint32_t kMinMemberEntry = 4;

template <typename T>
bool fail(std::vector<T>& out)
{
    out.clear();
    return false;
}

} // namespace

bool readTemplateTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset,
                       std::vector<TemplateEntry>& entries)
{
    entries.clear();
    PackageTableReader reader(file, offset);
    if (!reader.canHold(count, kMinTemplateEntry))
        return fail(entries);
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        TemplateEntry entry;
        std::uint32_t pageType = 0, showOnce = 0;
        if (!reader.readCounted(entry.templateBytes) || !reader.readBE32(pageType) || !reader.readBE32(showOnce) ||
            !reader.readCounted(entry.condition))
            return fail(entries);
        entry.pageType = static_cast<std::int32_t>(pageType);
        entry.showOnce = showOnce != 0;
        entries.push_back(std::move(entry));
    }
    return true;
}

bool readIdentifierTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset,
                         std::vector<std::uint32_t>& identifiers)
{
    identifiers.clear();
    PackageTableReader reader(file, offset);
    if (!reader.canHold(count, kIdentifierEntry))
        return fail(identifiers);
    identifiers.resize(count);
    for (auto& identifier : identifiers)
        if (!reader.readLE32(identifier))
            return fail(identifiers);
    return true;
}

bool readSlideshowTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset,
                        std::vector<ByteString>& paths)
{
    paths.clear();
    PackageTableReader reader(file, offset);
    if (!reader.canHold(count, kMinSlideshowEntry))
        return fail(paths);
    paths.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        ByteString path;
        if (!reader.readCounted(path))
            return fail(paths);
        paths.push_back(std::move(path));
    }
    return true;
}

bool readMemberTable(const PackageSource& file, std::uint32_t count, std::uint32_t offset, bool withIds,
                     std::vector<TableMember>& members)
{
    members.clear();
    PackageTableReader reader(file, offset);
    if (!reader.canHold(count, withIds ? kMinMemberEntry + 4 : kMinMemberEntry))
        return fail(members);
    members.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        TableMember member;
        if ((withIds && !reader.readBE32(member.id)) || !reader.readBE32(member.size))
            return fail(members);
        member.offset = static_cast<std::uint32_t>(reader.position());
        if (!reader.skip(member.size))
            return fail(members);
        members.push_back(member);
    }
    return true;
}
