#include "midi/kvMidiApi.h"

#include "midi/kvMidiFakeApi.h"

#include <cstdlib>
#include <mutex>

namespace kv {

namespace {

std::mutex ApiLock;
std::shared_ptr<IMidiApi> CurrentApi;

} // namespace

std::shared_ptr<IMidiApi> MidiApi()
{
    std::lock_guard lock(ApiLock);
    if (!CurrentApi) {
        const char* fake = std::getenv("KV_MIDI_FAKE");
        if (fake && *fake)
            CurrentApi = TFakeMidiApi::FromSpec(fake);
        else
            CurrentApi = CreatePlatformMidiApi();
    }
    return CurrentApi;
}

void SetMidiApi(std::shared_ptr<IMidiApi> Api)
{
    std::lock_guard lock(ApiLock);
    CurrentApi = std::move(Api);
}

#ifndef _WIN32
std::shared_ptr<IMidiApi> CreatePlatformMidiApi()
{
    // No MIDI services away from Windows: a machine without devices.
    return std::make_shared<TFakeMidiApi>();
}
#endif

} // namespace kv
