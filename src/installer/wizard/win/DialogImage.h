#pragma once
// The package's dialog image: the bitmap that template pages show in image statics asking for
// it. Kept in the installer context until exit.
#include <cstdint>

constexpr std::int32_t kDialogImageNotExtracted = -99;
constexpr std::int32_t kDialogImageNotOpened = -100;
constexpr std::int32_t kDialogImageNotMade = -105;

// 1 (also when the package has none), or a negative code when it could not be made (the reader's
// code for an unreadable BMP).
std::int32_t loadDialogImage();
