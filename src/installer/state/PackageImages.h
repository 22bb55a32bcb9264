#pragma once
// The package's images by id. The identifier list is read as pairs (from, to): an id equal to the
// first member of a pair stands for the second, and the first such pair decides.
#include "installer/state/InstallerState.h"

#include <cstdint>
#include <vector>

std::uint32_t translatedImageId(const std::vector<std::uint32_t>& identifiers, std::uint32_t id);
// The image list's entry for id after the translation through the package's identifier list;
// null when there is none.
const PageImage* findPackageImage(std::uint32_t id);
