#include "installer/install/PluginServices.h"

// Off Windows there is no registry to count shared libraries in.
std::int32_t PLUGIN_SERVICE pluginAddSharedDll(const char* path)
{
    return path == nullptr || path[0] == '\0' ? -1 : -2;
}
