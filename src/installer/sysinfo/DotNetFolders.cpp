#include "installer/sysinfo/DotNetFolders.h"

DotNetFound dotNetFromFolders(const std::vector<FrameworkFolder>& folders)
{
    DotNetFound found;
    for (const FrameworkFolder& folder : folders) {
        if (!folder.hasSystemDll || folder.name.length() <= 3)
            continue;
        if (folder.name.at(1) == '2')
            return DotNetFound{2, folder.name};
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
