#pragma once
// The main, options and piano-roll windows made in this process the way the program makes them,
// each test with its own settings file in a folder of its own, and the message loop run for them.
// Tests that play or record do so over the scripted MIDI fake, so that what reaches the instrument
// can be read back from its log.
#include "app/uRecordSettings.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/fRecord.h"
#include "app/win/fRoll.h"
#include "app/win/uProgram.h"
#include "gui/win/TApplication.h"
#include "gui/win/TWinControl.h"
#include "midi/kvMidiApi.h"
#include "midi/kvMidiDevicesInstances.h"
#include "midi/kvMidiFakeApi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

enum class TFakeMidi {
    None,          // the windows use whatever MIDI interface is in place
    Synth,         // an output "Synth"
    KeysAndSynth,  // an input "Keys" as well, for live playing and recording
};

struct TWindowsSetup {
    const char* FolderPrefix;
    TFakeMidi Midi = TFakeMidi::None;
    // The recording dialog's wait and the record settings are the process's: a test that records
    // changes them, and its recording lands in the program folder, so they are put back after it.
    bool Records = false;
};

// The windows are made but not shown: fixtures show them where and how their tests need.
// Members are public so that tables of steps outside the fixture may use them.
class KorvanelWindows : public ::testing::Test {
public:
    explicit KorvanelWindows(TWindowsSetup Setup) : setup(Setup) {}

    void SetUp() override
    {
        InitCommonControlClasses();
        if (setup.Midi != TFakeMidi::None) {
            fake = std::make_shared<TFakeMidiApi>();
            if (setup.Midi == TFakeMidi::KeysAndSynth) fake->AddInput({"Keys"});
            fake->AddOutput({"Synth"});
            // Device objects an earlier test made over another interface are made anew over the fake.
            FreeMidiDeviceObjects();
            SetMidiApi(fake);
        }
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        folder = std::filesystem::temp_directory_path() /
                 (setup.FolderPrefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()));
        std::filesystem::create_directories(folder);
        settings = (folder / "Korvanel.ini").string();
        if (setup.Records) {
            savedWait = RecordDialogWait();
            RecordSettings = TRecordSettings();
        }
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        options = std::make_unique<TfrmOption>(nullptr, frmMain, settings);
        frmOption = options.get();
        MakeRoll();
    }
    void TearDown() override
    {
        roll.reset();
        frmRoll = nullptr;
        options.reset();
        main.reset();
        if (setup.Midi != TFakeMidi::None) {
            FreeMidiDeviceObjects();
            SetMidiApi(nullptr);
        }
        std::error_code ignored;
        if (setup.Records) {
            RecordDialogWait() = savedWait;
            RecordSettings = TRecordSettings();
            std::filesystem::remove(ProgramFolder() + RecordFileName, ignored);
        }
        Application()->OnException = nullptr;
        std::filesystem::remove_all(folder, ignored);
    }
    void MakeRoll()
    {
        roll = std::make_unique<TfrmRoll>(nullptr, frmMain, settings);
        frmRoll = roll.get();
    }
    // Runs what the windows posted to themselves so far.
    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application()->ProcessMessages();
    }
    // Runs the message loop for Ms milliseconds, or until Done answers true.
    static bool PumpFor(int Ms, const std::function<bool()>& Done = nullptr)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
        while (std::chrono::steady_clock::now() < end) {
            Application()->ProcessMessages();
            if (Done && Done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    // Runs the message loop until Done answers true, for at most Ms milliseconds.
    static bool PumpUntil(const std::function<bool()>& Done, int Ms = 10000)
    {
        return PumpFor(Ms, Done);
    }

    TWindowsSetup setup;
    std::shared_ptr<TFakeMidiApi> fake;
    std::filesystem::path folder;
    std::string settings;
    TRecordDialogWait savedWait;
    std::vector<std::string> errors;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmOption> options;
    std::unique_ptr<TfrmRoll> roll;
};

} // namespace kv::test
