#pragma once
// Fresh state objects for one reading of a table of contents, and packages from the builder read
// back through the installer's own header and table readers.
#include "installer/package/MemoryPackageSource.h"
#include "installer/package/PackageLocate.h"
#include "installer/package/TocRead.h"

#include "PackageBuilder.h"

struct TocState {
    PackageToc toc;
    InstallerContext context;
    BackgroundStyle background;
    SystemRequirements requirements;
    SlideshowSettings slideshow;
    InstallerFlags flags;

    TocTargets targets() { return TocTargets{toc, context, background, requirements, slideshow, flags}; }
};

// Builds an installer carrying the described package, locates its header and reads the table of
// contents: the reader's code, or 0 when the header was not found.
inline int readPackageToc(const nlohmann::json& description, TocState& state)
{
    const MemoryPackageSource file(buildInstallerWithPackage(Bytes(64, 0x90), description));
    ByteString header;
    if (locatePackageIn(file, header).code != kLocateOk)
        return 0;
    return readTocFromPackage(file, header, state.targets());
}
