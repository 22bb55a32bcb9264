#include "installer/package/NextVolumePrompt.h"

namespace {
NextVolumePrompt currentPrompt = nullptr;
}

int promptForVolume(ByteString& volumeName, std::int32_t volumeNumber)
{
    return currentPrompt ? currentPrompt(volumeName, volumeNumber) : 0;
}

NextVolumePrompt setNextVolumePrompt(NextVolumePrompt prompt)
{
    NextVolumePrompt previous = currentPrompt;
    currentPrompt = prompt;
    return previous;
}
