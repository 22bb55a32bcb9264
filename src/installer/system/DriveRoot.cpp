#include "installer/system/DriveRoot.h"

std::string driveRootOf(const std::string& path)
{
    if (path.rfind("\\\\", 0) == 0)
        return path.back() == '\\' ? path : path + '\\';
    if (path.empty())
        return std::string();
    return std::string(1, path[0]) + ":\\";
}
