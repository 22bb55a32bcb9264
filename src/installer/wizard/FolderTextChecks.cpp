#include "installer/wizard/FolderTextChecks.h"

#include <cstring>

namespace {

enum FolderTextEntry : std::size_t {
    kEmptyDestination = 76,
    kBadDestination = 77,
    kNoSuchDrive = 78,
    kUnsuitableDrive = 79,
    kDoubledBackslash = 80,
    kBadCharacter = 81,
    kTooLittleSpace = 82,
    kGroupDoubledBackslash = 86,
    kGroupBadCharacter = 87,
};

bool isOneOf(std::uint8_t c, const char* set)
{
    return c != 0 && std::strchr(set, c) != nullptr;
}

} // namespace

DestinationCheck checkDestination(const ByteString& path, std::uint64_t bytesRequired, const DriveQueries& drives)
{
    DestinationCheck check;
    if (path.empty()) {
        check.problem = kEmptyDestination;
        return check;
    }
    if (path.length() < 2) {
        check.problem = kBadDestination;
        return check;
    }
    const bool network = path.at(0) == '\\' && path.at(1) == '\\';
    std::uint32_t first = 0;
    if (network) {
        first = 2;
    } else {
        if (path.at(1) != ':' || (path.length() > 2 && path.at(2) != '\\')) {
            check.problem = kBadDestination;
            return check;
        }
        check.root = ByteString::initChar(path.at(0));
        check.root.appendCStr(":\\");
        const DriveKind kind = drives.kind ? drives.kind(check.root) : DriveKind::Fixed;
        if (kind == DriveKind::NoRoot) {
            check.problem = kNoSuchDrive;
            return check;
        }
        if (kind == DriveKind::Other) {
            check.problem = kUnsuitableDrive;
            return check;
        }
    }
    for (std::uint32_t i = first; i < path.length(); ++i) {
        const std::uint8_t c = path.at(i);
        if ((c == ':' && i != 1) || isOneOf(c, "|*/><?\"")) {
            check.problem = kBadCharacter;
            return check;
        }
        if (c == '\\' && i > first && path.at(i - 1) == '\\') {
            check.problem = kDoubledBackslash;
            return check;
        }
    }
    if (!network) {
        check.freeBytes = drives.freeBytes ? drives.freeBytes(check.root) : 0;
        if (*check.freeBytes < bytesRequired)
            check.problem = kTooLittleSpace;
    }
    return check;
}

std::size_t groupProblem(const ByteString& group)
{
    for (std::uint32_t i = 0; i < group.length(); ++i) {
        const std::uint8_t c = group.at(i);
        if (isOneOf(c, "\"*/:<>?|"))
            return kGroupBadCharacter;
        if (c == '\\' && i > 0 && group.at(i - 1) == '\\')
            return kGroupDoubledBackslash;
    }
    return 0;
}

ByteString withoutTrailingSeparators(const ByteString& text)
{
    std::uint32_t end = text.length();
    while (end > 0 && (text.at(end - 1) == 0 || text.at(end - 1) == ' ' || text.at(end - 1) == '\\'))
        --end;
    return text.substr(0, end);
}

ByteString keptDestination(const ByteString& path)
{
    ByteString kept = withoutTrailingSeparators(path);
    kept.appendChar('\\');
    return kept;
}

ByteString keptGroup(const ByteString& group)
{
    const bool leading = !group.empty() && group.at(0) == '\\';
    return withoutTrailingSeparators(leading ? group.substr(1, group.length() - 1) : group);
}
