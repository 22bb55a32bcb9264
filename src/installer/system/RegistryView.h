#pragma once
// The registry view bits added to every key the installer opens: 0, or KEY_WOW64_64KEY when the
// package asks for the 64-bit view. Set once by start-up.
#include <cstdint>

std::uint32_t registryViewBits();
void setRegistryViewBits(std::uint32_t bits);
