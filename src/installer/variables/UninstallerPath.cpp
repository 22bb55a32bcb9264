#include "installer/variables/UninstallerPath.h"

#include "installer/state/InstallerState.h"
#include "installer/variables/TextExpansion.h"

namespace {

constexpr std::uint32_t kPathBufferSize = 260;
bool computing = false;

class ComputingScope {
public:
    ComputingScope() { computing = true; }
    ~ComputingScope() { computing = false; }
    ComputingScope(const ComputingScope&) = delete;
    ComputingScope& operator=(const ComputingScope&) = delete;
};

} // namespace

bool computingUninstallerPath()
{
    return computing;
}

ByteString uninstallerPath()
{
    ByteString path(gPackageToc.uninstallerNameTemplate);
    {
        ComputingScope scope;
        expandBuiltinVariables(path);
        expandFolderVariables(path);
        expandVariables(path, kAllVariables);
    }
    // The path lives in a buffer of 260 bytes.
    if (path.length() >= kPathBufferSize)
        path.erase(kPathBufferSize - 1, path.length() - (kPathBufferSize - 1));
    return path;
}
