#pragma once
// Asking the user for a missing volume file. The program installs its next-volume dialog; the
// default (and a silent run) cannot ask and answers Cancel.
#include "installer/text/ByteString.h"

#include <cstdint>

// 1 when a file of volumeName exists (the user may have browsed to another name, which is then
// in volumeName), 0 for Cancel.
using NextVolumePrompt = int (*)(ByteString& volumeName, std::int32_t volumeNumber);

int promptForVolume(ByteString& volumeName, std::int32_t volumeNumber);
// Returns the prompt installed before; null restores the default.
NextVolumePrompt setNextVolumePrompt(NextVolumePrompt prompt);
