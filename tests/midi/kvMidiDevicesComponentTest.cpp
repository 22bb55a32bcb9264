// The device component over the fake: transposition, dispatch order, trace texts, volume,
// open flags, error texts and what a late callback finds.
#include "MidiFakeFixture.h"

#include "midi/kvMidiDevices.h"
#include "midi/kvMidiDevicesInput.h"

namespace kv {
namespace {

class MidiDevicesComponentTest : public MidiFakeFixture {
protected:
    void Make(int Inputs, int Outputs)
    {
        for (int i = 0; i < Inputs; ++i) Fake->AddInput({"In " + std::to_string(i)});
        for (int i = 0; i < Outputs; ++i) Fake->AddOutput({"Out " + std::to_string(i)});
        Devices = std::make_unique<TKVMidiDevices>(nullptr);
        Devices->SetOnMidiInText([this](int, const std::string& Text) { Trace.push_back(Text); });
        Devices->SetOnMidiOutText([this](int, const std::string& Text) { Trace.push_back(Text); });
        Devices->SetOnErrorMsg([this](const std::string& Text) { Errors.push_back(Text); });
    }

    std::unique_ptr<TKVMidiDevices> Devices;
    std::vector<std::string> Trace;
    std::vector<std::string> Errors;
};

TEST_F(MidiDevicesComponentTest, NoteMessagesAreTransposedByTheKey)
{
    struct Case {
        std::uint8_t key, event, data1, data2;
        std::uint8_t sentData1;
    };
    const Case cases[] = {
        {2, 0x90, 60, 80, 62},   {2, 0x80, 60, 0, 62},   {2, 0x93, 60, 80, 62}, // any channel
        {2, 0xB0, 7, 100, 7},    {2, 0xA0, 60, 50, 60},  {2, 0xC0, 5, 0, 5},    // not notes
        {244, 0x90, 60, 80, 48}, {244, 0x90, 5, 80, 249},                        // the sum modulo 256
        {12, 0x90, 120, 80, 132}, {0, 0x90, 127, 80, 127},
    };
    Make(0, 1);
    Devices->OpenMidiOut(0);
    for (const Case& c : cases) {
        Devices->SetMidiKey(c.key);
        Devices->SendMidiShort(c.event, c.data1, c.data2);
        EXPECT_EQ(Fake->ShortsSent(0).back(), Packed(c.event, c.sentData1, c.data2))
            << "key " << int(c.key) << " event " << int(c.event) << " note " << int(c.data1);
    }
}

TEST_F(MidiDevicesComponentTest, SoundingNoteIsReleasedWithTheNumberItWasSentWith)
{
    Make(0, 1);
    Devices->OpenMidiOut(0);
    Devices->SetMidiKey(2);
    Devices->SendMidiShort(0x90, 60, 80); // sounds as 62
    Devices->SendMidiShort(0x91, 64, 80); // sounds as 66
    Devices->SetMidiKey(5);
    Devices->SendMidiShort(0x80, 60, 0);
    Devices->SendMidiShort(0x91, 64, 0); // note-on with velocity 0 releases too
    Devices->SendMidiShort(0x90, 60, 80);
    Devices->SendMidiShort(0x80, 60, 0);
    Devices->SendMidiShort(0x80, 60, 0); // nothing sounds: the key applies
    EXPECT_EQ(Fake->ShortsSent(0), (std::vector<std::uint32_t>{Packed(0x90, 62, 80), Packed(0x91, 66, 80),
                                                                Packed(0x80, 62, 0), Packed(0x91, 66, 0),
                                                                Packed(0x90, 65, 80), Packed(0x80, 65, 0),
                                                                Packed(0x80, 65, 0)}));
}

TEST_F(MidiDevicesComponentTest, OutputsAreServedFromTheHighestIndexAndOnceEach)
{
    Make(0, 3);
    Devices->OpenMidiOut(0);
    Devices->OpenMidiOut(2);
    Devices->OpenMidiOut(2);
    std::vector<int> served;
    Devices->SetOnMidiOutShort([&](int DeviceIndex, std::uint8_t, std::uint8_t, std::uint8_t) { served.push_back(DeviceIndex); });
    Devices->SendMidiShort(0x90, 60, 80);
    EXPECT_EQ(served, (std::vector<int>{2, 0}));
    EXPECT_EQ(Calls("midiOutShortMsg"),
              (std::vector<std::string>{"midiOutShortMsg(2, $00503C90) = 0", "midiOutShortMsg(0, $00503C90) = 0"}));
    EXPECT_EQ(Fake->CountCalls("midiOutOpen"), 2);
}

TEST_F(MidiDevicesComponentTest, ActiveSensingIsDroppedBothWays)
{
    Make(1, 1);
    int received = 0;
    Devices->SetOnMidiInShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++received; });
    Devices->OpenMidiIn(0);
    Devices->OpenMidiOut(0);
    Devices->SendMidiShort(0xFE, 0, 0);
    Fake->InjectShort(0, 0xFE);
    Fake->WaitIdle();
    EXPECT_EQ(received, 0);
    EXPECT_TRUE(Fake->ShortsSent(0).empty());
    EXPECT_TRUE(Trace.empty());
}

TEST_F(MidiDevicesComponentTest, TraceTextsInUpperCaseHex)
{
    Make(1, 1);
    Devices->OpenMidiIn(0);
    Devices->OpenMidiOut(0);
    Devices->SendMidiShort(0x90, 60, 80);
    Devices->SendMidiShort(0xBA, 0x7A, 0x0F);
    Devices->SendMidiSysEx(std::string("\xF0\x7E\x7F\x09\x01\xF7"));
    Fake->InjectShort(0, Packed(0xE1, 0x00, 0x40));
    Fake->InjectSysEx(0, {0xF0, 0x43, 0xF7});
    Fake->WaitIdle();
    EXPECT_EQ(Trace, (std::vector<std::string>{"Midi Out Short: 90 3C 50", "Midi Out Short: BA 7A 0F",
                                               "Midi Out SysEx: F0 7E 7F 09 01 F7 ", "Midi In Short: E1 00 40",
                                               "Midi In SysEx: F0 43 F7 "}));
}

TEST_F(MidiDevicesComponentTest, SystemExclusiveTextIsSentAsItsBytesFromTheHighestOutputDown)
{
    Make(0, 2);
    Devices->OpenMidiOut();
    Devices->SendMidiSysEx(std::string("\xF0\x7E\x7F\x09\x01\xF7"));
    Devices->SendMidiSysEx(0, std::string("\xF0\x01\xF7"));
    Fake->WaitIdle();
    const std::vector<std::uint8_t> reset = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_EQ(Fake->LongsSent(1), (std::vector<std::vector<std::uint8_t>>{reset}));
    EXPECT_EQ(Fake->LongsSent(0), (std::vector<std::vector<std::uint8_t>>{reset, {0xF0, 0x01, 0xF7}}));
    const auto longs = Calls("midiOutLongMsg");
    ASSERT_EQ(longs.size(), 3u);
    EXPECT_EQ(longs[0], "midiOutLongMsg(1, 6) = 0");
}

TEST_F(MidiDevicesComponentTest, VolumeWithoutOutputsAndThroughControllerSeven)
{
    Fake->AddOutput({"Plain", false, false});
    Make(0, 0);
    EXPECT_EQ(Devices->MidiVolume(), 65535);
    Devices->SendMidiShort(0x90, 60, 80);
    Devices->SetMidiVolume(65535);
    EXPECT_TRUE(Fake->ShortsSent(0).empty());

    Devices->OpenMidiOut(0);
    EXPECT_EQ(Devices->MidiVolume(), 65535);
    Devices->SetMidiVolume(65535);
    std::vector<std::uint32_t> expected;
    for (std::uint8_t channel = 0; channel < 16; ++channel)
        expected.push_back(Packed(static_cast<std::uint8_t>(0xB0 + channel), 7, 127));
    EXPECT_EQ(Fake->ShortsSent(0), expected);
}

TEST_F(MidiDevicesComponentTest, FlagIsSetEvenWhenTheOpenFailsAndErrorsReachTheHandler)
{
    Fake->FailCall("midiOutOpen", MMSYSERR_ALLOCATED);
    Make(0, 1);
    int served = 0;
    Devices->SetOnMidiOutShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++served; });
    Devices->OpenMidiOut(0);
    Devices->SendMidiShort(0x90, 60, 80);
    EXPECT_EQ(served, 1);
    EXPECT_TRUE(Fake->ShortsSent(0).empty());
    EXPECT_EQ(Errors, (std::vector<std::string>{"Fake MIDI: The device is already in use."}));
}

TEST_F(MidiDevicesComponentTest, IndexesBeyondWhatTheComponentServesAreRefused)
{
    Make(1, 1);
    Devices->OpenMidiIn(64);
    Devices->OpenMidiOut(-1);
    Devices->CloseMidiOut(1000);
    Devices->OpenMidiOut(3); // within 0..63 but not listed: the output object refuses it
    EXPECT_EQ(Errors, (std::vector<std::string>{"TKVMidiDevices: Device index out of bounds! (64)",
                                                "TKVMidiDevices: Device index out of bounds! (-1)",
                                                "TKVMidiDevices: Device index out of bounds! (1000)",
                                                "TMidiOutput: Device index out of bounds! (3)"}));
    EXPECT_EQ(Fake->CountCalls("midiInOpen") + Fake->CountCalls("midiOutOpen"), 0);
}

TEST_F(MidiDevicesComponentTest, InputOfADeviceNotOpenedHereIsDropped)
{
    Make(2, 0);
    int received = 0;
    Devices->SetOnMidiInShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++received; });
    Devices->OpenMidiIn(0);
    Devices->MidiInput()->Open(1); // open on the device object, not through the component
    Fake->InjectShort(1, 0x00403C90);
    Fake->InjectShort(0, 0x00403C90);
    Fake->WaitIdle();
    EXPECT_EQ(received, 1);
    Devices->CloseMidiIn();
    EXPECT_FALSE(Fake->InputOpen(0));
    EXPECT_FALSE(Fake->InputOpen(1));
}

TEST_F(MidiDevicesComponentTest, InputHandlerSendsToTheOutputsOnTheDriversThread)
{
    Make(1, 1);
    Devices->SetOnMidiInShort([this](int, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2) {
        Devices->SendMidiShort(Event, Data1, Data2);
    });
    Devices->SetMidiKey(12);
    Devices->OpenMidiIn(0);
    Devices->OpenMidiOut(0);
    Fake->InjectShort(0, Packed(0x90, 60, 80));
    Fake->WaitIdle();
    EXPECT_EQ(Fake->ShortsSent(0), (std::vector<std::uint32_t>{Packed(0x90, 72, 80)}));
    EXPECT_EQ(Trace, (std::vector<std::string>{"Midi Out Short: 90 48 50", "Midi In Short: 90 3C 50"}));
}

TEST_F(MidiDevicesComponentTest, LastComponentReceivesInputAndADestroyedOneIsNeverCalled)
{
    Make(1, 0);
    int first = 0, second = 0;
    Devices->SetOnMidiInShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++first; });
    Devices->OpenMidiIn(0);
    {
        TKVMidiDevices other(nullptr);
        other.SetOnMidiInShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++second; });
        other.OpenMidiIn(0);
        Fake->InjectShort(0, 0x00403C90);
        Fake->WaitIdle();
    }
    // The freed component took its handlers with it; the device stays open.
    Fake->InjectShort(0, 0x00403C90);
    Fake->WaitIdle();
    Devices.reset();
    Fake->InjectShort(0, 0x00403C90);
    Fake->WaitIdle();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_TRUE(Fake->InputOpen(0));
}

} // namespace
} // namespace kv
