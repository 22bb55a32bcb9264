#pragma once
// While the packed files are walked, the volume being read stays open from one member to the
// next instead of being opened again for every record and every member.
#include "installer/package/PackageSource.h"

#include <memory>

// Keeps volumes open for as long as it lives; the kept volume is closed when it goes.
class KeptPackageFiles {
public:
    KeptPackageFiles();
    ~KeptPackageFiles();
    KeptPackageFiles(const KeptPackageFiles&) = delete;
    KeptPackageFiles& operator=(const KeptPackageFiles&) = delete;
};

// The volume at path: the kept one while keeping and the path is the same, else opened anew
// (and kept while keeping). Null when it cannot be opened.
std::unique_ptr<PackageSource> openVolumeFile(const char* path);
// Closes the kept volume (before another one is asked for, or the installer ends).
void releaseKeptPackageFile();
