#include "installer/uninstall/PendingRenames.h"

#include <cctype>

namespace {

bool sameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool namesPath(const std::string& entry, const std::string& path)
{
    return sameText(entry, "\\??\\" + path) || sameText(entry, path);
}

} // namespace

std::vector<std::string> multiStringEntries(const std::string& value)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find('\0', start);
        if (end == std::string::npos)
            end = value.size();
        entries.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    // The list's closing NUL (and any padding after it) reads as empty strings at the end: an
    // empty target is kept only where it completes a pair.
    while (entries.size() % 2 != 0 && !entries.empty() && entries.back().empty())
        entries.pop_back();
    while (entries.size() >= 2 && entries[entries.size() - 1].empty() && entries[entries.size() - 2].empty())
        entries.resize(entries.size() - 2);
    return entries;
}

std::string multiStringValue(const std::vector<std::string>& entries)
{
    std::string value;
    for (const std::string& entry : entries) {
        value += entry;
        value += '\0';
    }
    value += '\0';
    return value;
}

bool removeRenamePairs(std::vector<std::string>& pairs, const std::string& source, const std::string* target)
{
    std::vector<std::string> kept;
    bool removed = false;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const std::string& from = pairs[i];
        const std::string& to = pairs[i + 1];
        const bool targetMatches = target ? namesPath(to, *target) : to.empty();
        if (namesPath(from, source) && targetMatches) {
            removed = true;
            continue;
        }
        kept.push_back(from);
        kept.push_back(to);
    }
    if (pairs.size() % 2 != 0)
        kept.push_back(pairs.back());
    if (removed)
        pairs = std::move(kept);
    return removed;
}
