#include "installer/system/TempFileName.h"

std::string tempFileCandidate(const std::string& folderWithBackslash, std::int32_t n, const char* extension)
{
    return folderWithBackslash + "dxw" + std::to_string(n) + (extension ? extension : "");
}

std::string firstFreeTempFileName(std::string folder, std::uint32_t tickCount, const char* extension,
                                  const std::function<bool(const std::string&)>& exists)
{
    if (folder.empty())
        folder = "C:\\";
    else if (folder.back() != '\\')
        folder += '\\';
    std::uint32_t n = tickCount;
    std::string candidate = tempFileCandidate(folder, static_cast<std::int32_t>(n), extension);
    while (exists(candidate))
        candidate = tempFileCandidate(folder, static_cast<std::int32_t>(++n), extension);
    return candidate;
}
