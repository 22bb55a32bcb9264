#include "installer/system/ModulePath.h"

std::string plainModulePath(const std::string& reported)
{
    for (const char* ntPrefix : {"\\\\?\\UNC\\", "UNC\\"}) {
        const std::string prefix = ntPrefix;
        if (reported.size() > prefix.size() && reported.compare(0, prefix.size(), prefix) == 0)
            return "\\\\" + reported.substr(prefix.size());
    }
    return reported;
}

bool isNetworkPath(const char* path)
{
    return path && path[0] == '\\' && path[1] == '\\';
}
