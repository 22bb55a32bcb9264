#pragma once
// The dialog that asks for the next volume file of the package (dialog 138 of the installer
// program: OK 1, Browse 4, Cancel 2, the prompt in item 1066).
#include "installer/text/ByteString.h"

#include <cstdint>

constexpr int kNextVolumeDialogId = 138;
constexpr int kNextVolumeBrowseId = 4;
constexpr int kNextVolumePromptId = 1066;

// 1 when a file of volumeName exists (OK) or was chosen (Browse; volumeName then holds it), 0
// for Cancel. Shown from the program's resources, owned by the active window.
int showNextVolumeDialog(ByteString& volumeName, std::int32_t volumeNumber);

// The prompt of item 1066 for a volume on a drive of that kind.
ByteString nextVolumePrompt(const ByteString& volumeName, std::int32_t volumeNumber, bool fixedOrNetworkDrive);
