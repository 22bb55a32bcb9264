#include "installer/sysinfo/DotNetFolders.h"

#include <cctype>
#include <string>
#include <utility>

namespace {

// The major and minor numbers of a folder named "v<major>.<minor>..." (-1 where a number is
// missing).
std::pair<long, long> versionOf(const ByteString& name)
{
    ByteString copy(name);
    const std::string text = copy.cStr();
    std::pair<long, long> version{-1, -1};
    std::size_t at = 1;
    auto number = [&]() {
        long value = -1;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && value < 100000)
            value = (value < 0 ? 0 : value * 10) + (text[at++] - '0');
        return value;
    };
    version.first = number();
    if (at < text.size() && text[at] == '.') {
        ++at;
        version.second = number();
    }
    return version;
}

} // namespace

DotNetFound dotNetFromFolders(const std::vector<FrameworkFolder>& folders)
{
    DotNetFound found;
    std::pair<long, long> newest{-1, -1};
    for (const FrameworkFolder& folder : folders) {
        if (!folder.hasSystemDll || folder.name.length() <= 3)
            continue;
        // 2.0 and every later version (4.0 among them) are "2.0 or later"; the newest wins.
        const std::pair<long, long> version = versionOf(folder.name);
        if (folder.name.at(1) == '2' || version.first >= 2) {
            if (found.code < 2 || version > newest) {
                found = DotNetFound{2, folder.name};
                newest = version;
            }
            continue;
        }
        if (found.code == 2)
            continue;
        if (folder.name.at(3) == '1')
            found = DotNetFound{1, folder.name};
        else if (folder.name.at(3) == '0' && found.code < 0)
            found = DotNetFound{0, folder.name};
    }
    return found;
}

std::int32_t dotNetVariableValue(std::int32_t code)
{
    switch (code) {
    case 0:
        return 10000;
    case 1:
        return 10100;
    case 2:
        return 20000;
    default:
        return 0;
    }
}
