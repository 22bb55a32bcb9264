#include "installer/system/ResourceDirectory.h"

std::string packageDirectoryOf(const std::string& modulePath)
{
    const auto slash = modulePath.rfind('\\');
    return slash == std::string::npos ? modulePath : modulePath.substr(0, slash);
}

std::string parentOfProgramFolder(const std::string& modulePath)
{
    const auto last = modulePath.rfind('\\');
    if (last == std::string::npos || last == 0)
        return modulePath;
    const auto previous = modulePath.rfind('\\', last - 1);
    return previous == std::string::npos ? modulePath : modulePath.substr(0, previous);
}

std::string freeResourceDirectory(std::string tempPath, std::uint32_t tickCount,
                                  const std::function<bool(const std::string&)>& exists)
{
    if (!tempPath.empty() && tempPath.back() != '\\')
        tempPath += '\\';
    for (std::uint32_t n = tickCount & 0x7FFFFFFF;; n = (n + 1) & 0x7FFFFFFF) {
        std::string candidate = tempPath + "inst" + std::to_string(n);
        if (!exists(candidate))
            return candidate;
    }
}
