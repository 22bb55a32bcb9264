// Input injected from the driver's thread while the handler sends to the outputs and another
// thread opens and closes devices: nothing deadlocks, no message is lost or doubled.
#include "MidiFakeFixture.h"

#include "midi/kvMidiDevices.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

namespace kv {
namespace {

class MidiDevicesStressTest : public MidiFakeFixture {};

// True when Part holds elements of Whole in Whole's order, each at most once.
bool IsSubsequence(const std::vector<std::uint32_t>& Part, const std::vector<std::uint32_t>& Whole)
{
    std::size_t at = 0;
    for (std::uint32_t value : Part) {
        while (at < Whole.size() && Whole[at] != value) ++at;
        if (at == Whole.size()) return false;
        ++at;
    }
    return true;
}

// Controller messages, distinct for each k below 2^18.
std::uint32_t Message(int k)
{
    return (0xB0 | (k & 15)) + ((k >> 4) & 0x7F) * 0x100u + ((k >> 11) & 0x7F) * 0x10000u;
}

TEST_F(MidiDevicesStressTest, InjectWhileSendingAndOpeningAndClosing)
{
    constexpr int MessageCount = 100000;
    Fake->SetLogEnabled(false);
    Fake->AddInput({"Steady"});
    Fake->AddInput({"Toggled"});
    for (const char* name : {"Steady", "Toggled A", "Toggled B"}) Fake->AddOutput({name});
    TKVMidiDevices devices(nullptr);

    std::vector<std::uint32_t> handled;          // in the order the handler saw them
    std::vector<std::uint32_t> fromInput[2];
    devices.SetOnMidiInShort([&](int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2) {
        const std::uint32_t packed = Event + Data1 * 0x100u + Data2 * 0x10000u;
        handled.push_back(packed);
        fromInput[DeviceIndex].push_back(packed);
        devices.SendMidiShort(Event, Data1, Data2);
    });
    devices.OpenMidiIn();
    devices.OpenMidiOut();

    auto run = std::async(std::launch::async, [&] {
        std::atomic<bool> done{false};
        int cycles = 0;
        std::thread toggler([&] {
            while (!done) {
                devices.CloseMidiOut(1);
                devices.CloseMidiIn(1);
                devices.OpenMidiOut(1);
                devices.CloseMidiOut(2);
                devices.OpenMidiIn(1);
                devices.OpenMidiOut(2);
                ++cycles;
            }
        });
        for (int k = 0; k < MessageCount; ++k) Fake->InjectShort(static_cast<unsigned>(k % 2), Message(k));
        Fake->WaitIdle();
        done = true;
        toggler.join();
        return cycles;
    });
    if (run.wait_for(std::chrono::seconds(100)) != std::future_status::ready) {
        std::fprintf(stderr, "MIDI stress test: no progress for 100 s, a deadlock\n");
        std::abort();
    }
    EXPECT_GT(run.get(), 0);

    std::vector<std::uint32_t> steady, toggled;
    for (int k = 0; k < MessageCount; ++k) (k % 2 ? toggled : steady).push_back(Message(k));
    EXPECT_EQ(fromInput[0], steady);
    EXPECT_TRUE(IsSubsequence(fromInput[1], toggled));
    EXPECT_EQ(Fake->ShortsSent(0), handled);
    EXPECT_TRUE(IsSubsequence(Fake->ShortsSent(1), handled));
    EXPECT_TRUE(IsSubsequence(Fake->ShortsSent(2), handled));
    devices.CloseMidiIn();
    devices.CloseMidiOut();
}

} // namespace
} // namespace kv
