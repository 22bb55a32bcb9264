#include "installer/system/RegistryView.h"

namespace {
std::uint32_t viewBits = 0;
}

std::uint32_t registryViewBits()
{
    return viewBits;
}

void setRegistryViewBits(std::uint32_t bits)
{
    viewBits = bits;
}
