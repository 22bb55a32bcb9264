#include "installer/text/MultiString.h"

#include <cstring>

const char* multiStringItem(const char* list, int n)
{
    if (!list || n < 0)
        return nullptr;
    const char* item = list;
    for (int i = 0; *item != '\0'; ++i) {
        if (i == n)
            return item;
        item += std::strlen(item) + 1;
    }
    return nullptr;
}

bool splitMultiString(const char* list, std::uint32_t length, std::vector<std::uint32_t>& offsets)
{
    offsets.clear();
    if (!list || length < 2 || list[0] == '\0')
        return false;
    offsets.push_back(0);
    for (std::uint32_t i = 0; i + 1 < length - 1; ++i)
        if (list[i] == '\0')
            offsets.push_back(i + 1);
    return true;
}
