// The language sets and member tables of an arbitrary installer file: no read outside the file,
// no allocation larger than it, never more lines than there are texts, every member inside.
#include "installer/package/LanguageSet.h"
#include "installer/package/MemoryPackageSource.h"
#include "installer/package/PackageLocate.h"
#include "installer/package/PackageTables.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemoryPackageSource file(std::vector<std::uint8_t>(data, data + size));
    ByteString header;
    if (locatePackageIn(file, header).code != kLocateOk || header.length() < 168)
        return 0;
    for (std::uint32_t index = 0; index < 3; ++index) {
        LanguageSet set;
        if (readLanguageSet(file, header, index, set) && set.lines.size() > kLanguageTextCount)
            __builtin_trap();
    }
    for (const std::uint32_t countField : {32u, 40u}) {
        std::vector<TableMember> members;
        if (!readMemberTable(file, header.readBE32(countField), header.readBE32(countField + 4), countField == 32, members))
            continue;
        for (const TableMember& member : members)
            if (std::uint64_t(member.offset) + member.size > size)
                __builtin_trap();
    }
    return 0;
}
