#pragma once
// The header fields that follow from the packed files: the bytes a minimal (200) and a typical
// (204) installation writes, and the progress totals of each: JPEG files converted to BMP (208,
// 216), MP3 files converted to WAV (212, 220) and all other files (224, 228).
//
// A file belongs to a minimal installation when bit 0 of its installation-type mask is set, to a
// typical one when bit 0 or 1 is. A file counts as JPEG when its name ends in "JPG" (any case),
// the package option JPEG to BMP (bit 2 of "packageOptions") is set and its flags leave bit 8
// (exempt from conversion) clear; as MP3 when its name ends in "MP3" and the option MP3 to WAV
// (bit 1) is set. Files are counted with their content's size, as the installer counts the bytes
// it writes; a file beside the package is not counted, since its size is known only when it is
// installed. The bytes required also count the uninstaller program. An extractor package (setting
// "extractorMode") unpacks into the resource folder, not the destination: its bytes required stay
// 0, so the check of the destination's free space never stops it.
#include "PackageMembers.h"

void appendInstallationTotals(const nlohmann::json& description, HeaderFieldValues& fields);
