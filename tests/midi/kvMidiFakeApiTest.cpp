// The fake's description, as end-to-end runs select it through KV_MIDI_FAKE.
#include "midi/kvMidiDevicesInput.h"
#include "midi/kvMidiDevicesOutput.h"
#include "midi/kvMidiFakeApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>

namespace kv {
namespace {

TEST(MidiFakeApiTest, DescriptionScriptsDevicesFailuresAndLogFile)
{
    const std::string logFile = testing::TempDir() + "kv_fake_midi.log";
    std::remove(logFile.c_str());
    auto fake = TFakeMidiApi::FromSpec("in=Roll Keys; in=Gone,nocaps # unreadable\n"
                                       "out=Synth,novolume;out=GS Wavetable;fail=midiOutOpen:4;log=" + logFile);
    TMidiInput input(fake);
    TMidiOutput output(fake);
    EXPECT_EQ(input.Devices(), (std::vector<std::string>{"Roll Keys"}));
    EXPECT_EQ(output.Devices(), (std::vector<std::string>{"Synth", "GS Wavetable"}));
    output.Open(1);
    EXPECT_EQ(output.MidiResult(), MMSYSERR_ALLOCATED);
    TMidiOutCaps caps;
    fake->OutGetDevCaps(0, caps);
    EXPECT_EQ(caps.Support, 0u);

    std::ifstream log(logFile);
    std::string first;
    std::getline(log, first);
    EXPECT_EQ(first, "midiInGetNumDevs() = 2");
    std::remove(logFile.c_str());
}

TEST(MidiFakeApiTest, DescriptionIsReadFromTheFileItNames)
{
    const std::string specFile = testing::TempDir() + "kv_fake_midi.spec";
    std::ofstream(specFile) << "in=From File\nout=Out From File\n";
    auto fake = TFakeMidiApi::FromSpec(specFile);
    TMidiInCaps caps;
    EXPECT_EQ(fake->InGetNumDevs(), 1u);
    EXPECT_EQ(fake->InGetDevCaps(0, caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.ProductName, "From File");
    EXPECT_EQ(fake->OutGetNumDevs(), 1u);
    std::remove(specFile.c_str());
}

TEST(MidiFakeApiTest, LinesAppendedToTheFeedFilePlayOnTheInputs)
{
    const std::string feedFile = testing::TempDir() + "kv_fake_midi.feed";
    std::ofstream(feedFile) << "# the instrument\n";
    auto fake = TFakeMidiApi::FromSpec("in=Keys;in=Pads;feed=" + feedFile);
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::pair<std::uintptr_t, std::uint32_t>> shorts;
    TMidiHandle handle = 0;
    ASSERT_EQ(fake->InOpen(handle, 1, [&](TMidiHandle, std::uint32_t Msg, std::uintptr_t Instance, std::uintptr_t P1, std::uintptr_t) {
        if (Msg != MIM_DATA) return;
        std::lock_guard guard(lock);
        shorts.emplace_back(Instance, static_cast<std::uint32_t>(P1));
        arrived.notify_all();
    }, 7), MMSYSERR_NOERROR);
    ASSERT_EQ(fake->InStart(handle), MMSYSERR_NOERROR);
    // Device 0 is not open: its line is dropped, as a driver drops input of a closed device. A
    // line without its end waits for it; lines that do not read are passed over.
    std::ofstream(feedFile, std::ios::app) << "1 80 3c 40\n1 zz\n1 123 4\n\n1 B0 7B";
    std::ofstream(feedFile, std::ios::app) << " 00\n";
    const auto waitFor = [&](std::size_t count) {
        std::unique_lock guard(lock);
        return arrived.wait_for(guard, std::chrono::seconds(20), [&] { return shorts.size() >= count; });
    };
    ASSERT_TRUE(waitFor(2));
    {
        std::lock_guard guard(lock);
        EXPECT_EQ(shorts, (std::vector<std::pair<std::uintptr_t, std::uint32_t>>{{7, 0x00403C80}, {7, 0x00007BB0}}));
    }
    fake->InStop(handle);
    fake->InClose(handle);
    fake.reset();
    std::remove(feedFile.c_str());
}

TEST(MidiFakeApiTest, FeedLinesRead)
{
    struct Case {
        const char* line;
        bool reads;
        unsigned device;
        std::vector<std::uint8_t> bytes;
    };
    for (const Case& c : {Case{"0 90 3C 64", true, 0, {0x90, 0x3C, 0x64}}, Case{"  2 c0 05\r", true, 2, {0xC0, 0x05}},
                          Case{"1 F0 7E 7F 09 01 F7", true, 1, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
                          Case{"# 0 90 3C 64", false, 0, {}}, Case{"", false, 0, {}}, Case{"0", false, 0, {}},
                          Case{"x 90", false, 0, {}}, Case{"0 100", false, 0, {}}, Case{"0 9G", false, 0, {}}}) {
        unsigned device = 99;
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(TFakeMidiApi::ParseFeedLine(c.line, device, bytes), c.reads) << c.line;
        if (!c.reads) continue;
        EXPECT_EQ(device, c.device) << c.line;
        EXPECT_EQ(bytes, c.bytes) << c.line;
    }
}

} // namespace
} // namespace kv
