#pragma once
// What a Windows test needs from the host that runs Wine, said where a check depends on it, so
// that a failure names the missing piece instead of only a wrong value.

// Wine's X driver loads these at run time; wine32/wine64 do not pull them in (scripts/setup
// installs them for both architectures).
inline constexpr const char* kWineXLibrariesHint =
    "Wine's X driver found no XRandR/XFixes/XInput2 support: the host lacks the X libraries of this "
    "build's architecture (libxi6 libxrandr2 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxrender1 "
    "libxxf86vm1, with :i386 for the 32-bit build; scripts/setup installs them)";
