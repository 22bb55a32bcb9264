#pragma once
// Reading the table of contents: the package's registry trees, entry lists, variables,
// prerequisites and settings, stored scrambled twice at the offset and with the length that
// header fields 0 and 4 give.
//
// Unscrambled layout (integers big-endian 32-bit, texts NUL-terminated UTF-8, a list is a count
// and its entries): the registry trees of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE and HKEY_USERS, the shortcut, INI, text-file, step file operation, variable,
// step action and prerequisite lists, then the settings.
#include "installer/package/PackageSource.h"
#include "installer/state/InstallerState.h"
#include "installer/text/ByteString.h"

enum TocReadCode : int {
    kTocRead = 1,
    kTocPackageNotLocated = -1,
    kTocNotInHeader = -2,
    kTocNotLoaded = -3,
    kTocDamaged = -4,
};


// The state objects the table of contents fills.
struct TocTargets {
    PackageToc& toc;
    InstallerContext& context;
    BackgroundStyle& background;
    SystemRequirements& requirements;
    SlideshowSettings& slideshow;
    InstallerFlags& flags;
};

// The installer's own state objects.
TocTargets globalTocTargets();

// Reads the unscrambled block into targets: true when every list and setting lay inside it.
bool parseTocBlock(const ByteString& block, const TocTargets& targets);

// Presets the typical installation type, unscrambles the stored block twice and reads it:
// kTocRead, or kTocDamaged when a check fails or the content runs past the block's end. The
// language page's preselection is reset to none.
int readTocFromBlock(ByteString block, const TocTargets& targets);

// Loads the block that the header names from the package file and reads it: kTocRead,
// kTocNotInHeader (offset or length 0), kTocNotLoaded (the block is not wholly inside the file),
// or kTocDamaged.
int readTocFromPackage(const PackageSource& file, const ByteString& header, const TocTargets& targets);
