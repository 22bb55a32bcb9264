// The input and output objects over the fake: enumeration, open and close, system-exclusive
// buffers, long messages, volumes and the error texts.
#include "MidiFakeFixture.h"

#include "midi/kvMidiDevicesInput.h"
#include "midi/kvMidiDevicesOutput.h"

namespace kv {
namespace {

class MidiDeviceObjectsTest : public MidiFakeFixture {
protected:
    void Make()
    {
        CreateMidiDeviceObjects(Fake);
        Input = MidiInputObject();
        Output = MidiOutputObject();
        Input->SetOnErrorMsg([this](const std::string& Text) { Errors.push_back(Text); });
        Output->SetOnErrorMsg([this](const std::string& Text) { Errors.push_back(Text); });
    }

    TMidiInput* Input = nullptr;
    TMidiOutput* Output = nullptr;
    std::vector<std::string> Errors;
};

TEST_F(MidiDeviceObjectsTest, NoDevicesGiveEmptyLists)
{
    Make();
    EXPECT_EQ(Input->Count(), 0);
    EXPECT_EQ(Output->Count(), 0);
}

TEST_F(MidiDeviceObjectsTest, InputsWithoutCapabilitiesAreLeftOutAndIndexesOpenTheListedDevice)
{
    Fake->AddInput({"Keys A"});
    Fake->AddInput({"Broken", true});
    Fake->AddInput({"Keys C"});
    Fake->AddOutput({"Synth"});
    Fake->AddOutput({"Dead", true});
    Make();
    EXPECT_EQ(Input->Devices(), (std::vector<std::string>{"Keys A", "Keys C"}));
    // Outputs keep their place whatever the capability read answers.
    EXPECT_EQ(Output->Devices(), (std::vector<std::string>{"Synth", ""}));

    Input->Open(1);
    EXPECT_TRUE(Fake->InputOpen(2));
    EXPECT_EQ(Calls("midiInOpen"), (std::vector<std::string>{"midiInOpen(2, instance 1) = 0"}));
}

TEST_F(MidiDeviceObjectsTest, OpenQueuesOneBufferAndStartsAndSecondOpenChangesNothing)
{
    Fake->AddInput({"Keys"});
    Make();
    Input->Open(0);
    Input->Open(0);
    EXPECT_EQ(Fake->QueuedBuffers(0), 1);
    EXPECT_EQ(Fake->Log(), (std::vector<std::string>{
                               "midiInGetNumDevs() = 1", "midiInGetDevCaps(0) = 0", "midiOutGetNumDevs() = 0",
                               "midiInOpen(0, instance 0) = 0", "midiInPrepareHeader(0, 4096) = 0",
                               "midiInAddBuffer(0, 4096) = 0", "midiInStart(0) = 0"}));
}

TEST_F(MidiDeviceObjectsTest, CloseStopsResetsUnpreparesAndClosesWithoutRequeueing)
{
    Fake->AddInput({"Keys"});
    Make();
    Input->Open(0);
    Fake->ClearLog();
    Input->Close(0);
    Input->Close(0);
    EXPECT_EQ(Fake->Log(), (std::vector<std::string>{"midiInStop(0) = 0", "midiInReset(0) = 0",
                                                     "midiInUnprepareHeader(0, 4096) = 0", "midiInClose(0) = 0"}));
    EXPECT_FALSE(Fake->InputOpen(0));
    EXPECT_EQ(Input->GetHandle(0), 0u);
}

TEST_F(MidiDeviceObjectsTest, ShortMessageIsSplitIntoStatusAndData)
{
    Fake->AddInput({"Keys"});
    Make();
    std::vector<std::uint32_t> received;
    Input->SetOnMidiShort([&](int DeviceIndex, std::uint8_t Event, std::uint8_t Data1, std::uint8_t Data2) {
        received.push_back(DeviceIndex * 0x1000000u + Packed(Event, Data1, Data2));
    });
    Input->Open(0);
    Fake->InjectShort(0, 0x00403C90);
    Fake->WaitIdle();
    EXPECT_EQ(received, (std::vector<std::uint32_t>{0x00403C90}));
}

TEST_F(MidiDeviceObjectsTest, LongSystemExclusiveArrivesInPiecesOfTheBufferSize)
{
    Fake->AddInput({"Keys"});
    Make();
    std::vector<std::uint8_t> message(9000);
    for (std::size_t i = 0; i < message.size(); ++i) message[i] = static_cast<std::uint8_t>(i * 7);
    message.front() = 0xF0;
    message.back() = 0xF7;
    std::vector<std::vector<std::uint8_t>> pieces;
    Input->SetOnMidiSysEx([&](int, TMemoryStream& Stream) {
        EXPECT_EQ(Stream.Position(), 0);
        pieces.emplace_back(Stream.Memory(), Stream.Memory() + Stream.Size());
    });
    Input->Open(0);
    Fake->InjectSysEx(0, message);
    Fake->WaitIdle();

    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 4096u);
    EXPECT_EQ(pieces[1].size(), 4096u);
    EXPECT_EQ(pieces[2].size(), 808u);
    std::vector<std::uint8_t> joined;
    for (const auto& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
    EXPECT_EQ(joined, message);
    EXPECT_EQ(Fake->QueuedBuffers(0), 1);
    EXPECT_EQ(Input->SysExData(0).FSysExStream.Size(), 0);
}

TEST_F(MidiDeviceObjectsTest, ResetHandsTheBufferBackForGood)
{
    Fake->AddInput({"Keys"});
    Make();
    int sysex = 0, shorts = 0;
    Input->SetOnMidiSysEx([&](int, TMemoryStream&) { ++sysex; });
    Input->SetOnMidiShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++shorts; });
    Input->Open(0);
    Input->ResetInput(0);
    EXPECT_EQ(Fake->QueuedBuffers(0), 0);
    Fake->InjectSysEx(0, {0xF0, 0x01, 0xF7});
    Fake->InjectShort(0, 0x00403C90);
    Fake->WaitIdle();
    EXPECT_EQ(sysex, 0);
    EXPECT_EQ(shorts, 1);

    // Closing and opening again brings system-exclusive input back.
    Input->Close(0);
    Input->Open(0);
    Fake->InjectSysEx(0, {0xF0, 0x01, 0xF7});
    Fake->WaitIdle();
    EXPECT_EQ(sysex, 1);
}

TEST_F(MidiDeviceObjectsTest, IndexesOutsideTheListAreReportedAndTouchNoDevice)
{
    Fake->AddInput({"Keys"});
    Fake->AddOutput({"Synth"});
    Make();
    Input->Open(5);
    Output->Open(-1);
    Output->PutShort(64, 0x90, 60, 100);
    Input->DoSysEx(3);
    EXPECT_EQ(Errors, (std::vector<std::string>{"TMidiInput: Device index out of bounds! (5)",
                                                "TMidiOutput: Device index out of bounds! (-1)",
                                                "TMidiOutput: Device index out of bounds! (64)"}));
    EXPECT_EQ(Fake->CountCalls("midiInOpen") + Fake->CountCalls("midiOutOpen") + Fake->CountCalls("midiOutShortMsg"), 0);
}

TEST_F(MidiDeviceObjectsTest, FailedCallIsStoredAndReportedWithThePlatformText)
{
    Fake->AddInput({"Keys"});
    Fake->FailCall("midiInOpen", MMSYSERR_ALLOCATED);
    Make();
    Input->Open(0);
    EXPECT_EQ(Input->MidiResult(), MMSYSERR_ALLOCATED);
    EXPECT_EQ(Errors, (std::vector<std::string>{"Fake MIDI: The device is already in use."}));
    EXPECT_EQ(Fake->CountCalls("midiInPrepareHeader"), 0);

    // A code without a platform text is stored but not reported.
    Input->CheckResult(1234);
    EXPECT_EQ(Input->MidiResult(), 1234u);
    EXPECT_EQ(Errors.size(), 1u);
}

TEST_F(MidiDeviceObjectsTest, ShortMessagesGoOnlyToOpenOutputs)
{
    Fake->AddOutput({"Synth"});
    Make();
    Output->PutShort(0, 0x90, 60, 100);
    Output->Open(0);
    Output->PutShort(0, 0x90, 60, 100);
    Output->Close(0);
    Output->PutShort(0, 0x80, 60, 0);
    EXPECT_EQ(Fake->ShortsSent(0), (std::vector<std::uint32_t>{Packed(0x90, 60, 100)}));
    EXPECT_EQ(Calls("midiOutReset").size(), 1u);
}

TEST_F(MidiDeviceObjectsTest, SetVolumeUsesTheDeviceOrControllerSevenOnEveryChannel)
{
    struct Case {
        bool hasVolume;
        bool setFails;
        std::uint16_t volume;
        std::uint8_t controllerValue; // 0xFF: no controller messages
    };
    const Case cases[] = {
        {true, false, 65535, 0xFF},
        {false, false, 65535, 127},
        {false, false, 511, 0},
        {false, false, 32768, 64},
        {true, true, 65535, 127},
    };
    for (const Case& c : cases) {
        FreeMidiDeviceObjects();
        Fake = std::make_shared<TFakeMidiApi>();
        Fake->AddOutput({"Synth", false, c.hasVolume});
        if (c.setFails) Fake->FailCall("midiOutSetVolume", MMSYSERR_NOTSUPPORTED);
        Make();
        Output->Open(0);
        Output->SetVolume(0, c.volume);
        std::vector<std::uint32_t> expected;
        if (c.controllerValue != 0xFF) {
            for (std::uint8_t channel = 0; channel < 16; ++channel)
                expected.push_back(Packed(static_cast<std::uint8_t>(0xB0 + channel), 7, c.controllerValue));
        }
        EXPECT_EQ(Fake->ShortsSent(0), expected) << c.volume << " volume control " << c.hasVolume;
        if (c.hasVolume && !c.setFails) {
            EXPECT_EQ(Fake->DeviceVolume(0), c.volume * 0x10001u);
        }
    }
}

TEST_F(MidiDeviceObjectsTest, GetVolumeReadsTheDeviceButAnswersFullScale)
{
    Fake->AddOutput({"Synth", false, true, 0x20002000});
    Fake->AddOutput({"Plain", false, false});
    Make();
    Output->Open(0);
    Output->Open(1);
    EXPECT_EQ(Output->GetVolume(0), 65535);
    EXPECT_EQ(Output->Volume().LongVolume, 0x20002000);
    EXPECT_EQ(Output->Volume().LeftVolume(), 0x2000);
    EXPECT_EQ(Output->GetVolume(1), 65535);
    EXPECT_EQ(Fake->CountCalls("midiOutGetVolume"), 1);
}

TEST_F(MidiDeviceObjectsTest, LongMessageBufferLivesUntilTheDriverIsDone)
{
    Fake->AddOutput({"Synth"});
    Fake->SetLongDelay(std::chrono::milliseconds(30));
    Make();
    Output->Open(0);
    {
        TMemoryStream stream;
        StrToStream("\xF0\x7E\x7F\x09\x01\xF7", stream);
        stream.SetPosition(3);
        Output->PutLong(0, stream);
    } // the caller frees its stream at once; the fake reads the bytes only when it completes
    Fake->WaitIdle();
    EXPECT_EQ(Fake->LongsSent(0), (std::vector<std::vector<std::uint8_t>>{{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
    EXPECT_EQ(Calls("midiOutUnprepareHeader"), (std::vector<std::string>{"midiOutUnprepareHeader(0, 6) = 0"}));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(MidiDeviceObjectsTest, DriverThatNeverFinishesIsResetBeforeTheBufferGoes)
{
    Fake->AddOutput({"Synth"});
    Fake->SetLongDelay(std::chrono::hours(1));
    Make();
    Output->Open(0);
    TMemoryStream stream;
    StrToStream("\xF0\x01\xF7", stream);
    Output->PutLong(0, stream);
    EXPECT_EQ(Calls("midiOutReset"), (std::vector<std::string>{"midiOutReset(0) = 0"}));
    EXPECT_EQ(Calls("midiOutUnprepareHeader"), (std::vector<std::string>{"midiOutUnprepareHeader(0, 3) = 0"}));
    EXPECT_TRUE(Fake->LongsSent(0).empty());
}

TEST_F(MidiDeviceObjectsTest, CallbackAfterTheObjectsAreFreedDoesNothing)
{
    Fake->AddInput({"Keys"});
    Make();
    int calls = 0;
    Input->SetOnMidiShort([&](int, std::uint8_t, std::uint8_t, std::uint8_t) { ++calls; });
    Input->Open(0);
    FreeMidiDeviceObjects(); // closes the device that was left open
    EXPECT_FALSE(Fake->InputOpen(0));
    MidiInCallback(1, MIM_DATA, 0, 0x00403C90, 0);
    MidiInCallback(1, MIM_LONGDATA, 0, 0, 0);
    EXPECT_EQ(calls, 0);
}

TEST_F(MidiDeviceObjectsTest, CallbackIgnoresOtherMessagesAndForeignIndexes)
{
    Fake->AddInput({"Keys"});
    Make();
    int calls = 0;
    Input->SetOnMidiSysEx([&](int, TMemoryStream&) { ++calls; });
    MidiInCallback(1, MIM_ERROR, 0, 0x00403C90, 0);
    MidiInCallback(1, MIM_LONGDATA, 7, 0, 0);
    MidiInCallback(1, MIM_LONGDATA, static_cast<std::uintptr_t>(-1), 0, 0);
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace kv
