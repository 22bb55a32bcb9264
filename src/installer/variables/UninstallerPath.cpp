#include "installer/variables/UninstallerPath.h"

#include "installer/state/InstallerState.h"
#include "installer/variables/TextExpansion.h"

namespace {

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
    // Never cut: a cut path names another file. The run refuses a path that is too long.
    return path;
}
