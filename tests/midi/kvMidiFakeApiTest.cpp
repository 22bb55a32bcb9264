// The fake's description, as end-to-end runs select it through KV_MIDI_FAKE.
#include "midi/kvMidiDevicesInput.h"
#include "midi/kvMidiDevicesOutput.h"
#include "midi/kvMidiFakeApi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

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

} // namespace
} // namespace kv
