#include "ReadToc.h"

#include "installer/core/PackageLocate.h"

namespace {
// The table of contents reader joins here; until it does, no package can be installed.
constexpr int kTocNotRead = -6;
} // namespace

int readToc()
{
    const int located = locatePackage();
    if (located < 0)
        return located;
    return kTocNotRead;
}
