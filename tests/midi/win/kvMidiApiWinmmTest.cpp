// The winmm side of the MIDI seam, for real: enumeration and the reporting of a bad device.
#include "midi/kvMidiApi.h"
#include "midi/kvMidiDevicesInput.h"
#include "midi/kvMidiDevicesOutput.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

namespace kv {
namespace {

TEST(MidiApiWinmmTest, DeviceObjectsListWhatWinmmReports)
{
    auto api = CreatePlatformMidiApi();
    TMidiInput input(api);
    TMidiOutput output(api);
    EXPECT_LE(input.Count(), static_cast<int>(midiInGetNumDevs()));
    EXPECT_EQ(output.Count(), static_cast<int>(midiOutGetNumDevs()));
}

TEST(MidiApiWinmmTest, BadDeviceIsReportedThroughCheckResultWithThePlatformText)
{
    auto api = CreatePlatformMidiApi();
    TMidiOutput output(api);
    std::vector<std::string> errors;
    output.SetOnErrorMsg([&](const std::string& Text) { errors.push_back(Text); });

    TMidiHandle handle = 0;
    output.CheckResult(api->OutOpen(handle, 1000));
    EXPECT_EQ(output.MidiResult(), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(handle, 0u);
    TMidiHandle inputHandle = 0;
    output.CheckResult(api->InOpen(inputHandle, 1000, [](TMidiHandle, std::uint32_t, std::uintptr_t, std::uintptr_t, std::uintptr_t) {}, 0));
    EXPECT_EQ(output.MidiResult(), MMSYSERR_BADDEVICEID);

    wchar_t expected[128] = {};
    ASSERT_EQ(midiInGetErrorTextW(MMSYSERR_BADDEVICEID, expected, 128), MMSYSERR_NOERROR);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_FALSE(errors[0].empty());
    EXPECT_EQ(errors[0], errors[1]);
    std::string text;
    EXPECT_EQ(api->InGetErrorText(MMSYSERR_BADDEVICEID, text), MMSYSERR_NOERROR);
    EXPECT_EQ(text, errors[0]);
    EXPECT_EQ(std::wstring(expected).size(), text.size()); // the platform's text is plain ASCII

    // An index past the list is refused before winmm sees it.
    output.Open(output.Count());
    EXPECT_EQ(errors.back(), "TMidiOutput: Device index out of bounds! (" + std::to_string(output.Count()) + ")");
}

} // namespace
} // namespace kv
