#include "installer/install/PendingRenames.h"

std::vector<PendingRename> pendingRenamesOf(const ByteString& list)
{
    std::vector<std::string> texts;
    const char* bytes = reinterpret_cast<const char*>(list.data());
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < list.length(); ++pos) {
        if (bytes[pos] == '\0') {
            texts.emplace_back(bytes + start, pos - start);
            start = pos + 1;
        }
    }
    std::vector<PendingRename> pairs;
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
        pairs.push_back({texts[i], texts[i + 1]});
    return pairs;
}
