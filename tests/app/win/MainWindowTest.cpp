// The main, options and About windows in this process: their controls, the message hook's
// routing, stay on top, placement above the main window and the translation of run-time texts.
#include "app/uLanguage.h"
#include "app/win/fAbout.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/uProgram.h"
#include "gui/win/TApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace kv {
namespace {

namespace fs = std::filesystem;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControlClasses();
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        folder = fs::temp_directory_path() / ("kv_main_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()));
        fs::create_directories(folder);
        settings = (folder / "Korvanel.ini").string();
        savedShell = ShellOpen();
        ShellOpen() = [this](const std::string& file, const std::string& dir) { opened.emplace_back(file, dir); };
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        options = std::make_unique<TfrmOption>(nullptr, frmMain, settings);
        frmOption = options.get();
        Application()->OnMessage = [](MSG& m) { return frmMain && frmMain->ApplicationEvents1Message(m); };
        main->Show();
        Pump();
    }
    void TearDown() override
    {
        Application()->OnMessage = nullptr;
        options.reset();
        main.reset();
        ShellOpen() = savedShell;
        Application()->OnException = nullptr;
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application()->ProcessMessages();
    }
    bool SystemMenuChecked()
    {
        return (GetMenuState(GetSystemMenu(main->Handle(), FALSE), SysMenuStayOnTop, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool TopMost() { return (GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    fs::path folder;
    std::string settings;
    TShellOpen savedShell;
    std::vector<std::pair<std::string, std::string>> opened;
    std::vector<std::string> errors;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmOption> options;
};

TEST_F(MainWindow, ControlsStandWhereTheWindowDescriptionPutsThem)
{
    RECT client;
    GetClientRect(main->Handle(), &client);
    EXPECT_EQ(client.right, 951);
    EXPECT_EQ(client.bottom, 219);
    EXPECT_EQ(main->ToolBar1->BoundsRect(), Rect(0, 0, 951, 48));
    EXPECT_EQ(main->plDisplay->BoundsRect(), Rect(0, 48, 951, 73));
    EXPECT_EQ(main->PianoKeyboard1->BoundsRect(), Rect(0, 73, 950, 200));
    EXPECT_EQ(main->StatusBar1->BoundsRect(), Rect(0, 200, 951, 219));
    const TRect panel = main->StatusBar1->PanelRect(0);
    EXPECT_EQ(main->pbLength->BoundsRect(), panel);
    EXPECT_LE(panel.Right, 578);
    EXPECT_GE(panel.Right, 570);
    struct Place {
        TLabel* label;
        int left;
        const char* text;
    };
    for (const Place& p : {Place{main->lbKey, 57, "0"}, {main->lbSpeed, 131, "100"}, {main->lblSpeedRatio, 155, "100%"},
                           {main->lbOctave, 238, "3"}, {main->lblVolume, 298, "100%"}, {main->lbMeter, 381, "4/4"},
                           {main->lbTime, 451, "0:00:00.000"}, {main->lbFile, 565, "Untitled.mid"}}) {
        EXPECT_EQ(p.label->Left(), p.left) << p.text;
        EXPECT_EQ(p.label->Top(), 6) << p.text;
        EXPECT_EQ(p.label->Caption(), p.text);
    }
    EXPECT_EQ(main->trbKey->Min(), -12);
    EXPECT_EQ(main->trbKey->Max(), 12);
    EXPECT_EQ(main->trbSpeedRatio->Position(), 100);
    EXPECT_EQ(main->trbVolume->Max(), 65535);
    EXPECT_LE(main->trbVolume->Width(), main->trbSpeedRatio->Width());
    EXPECT_LE(main->trbVolume->Left() + main->trbVolume->Width(), 951);
    // The buttons in their order, the separators as nullptr.
    std::vector<TAction*> buttons;
    for (int i = 0; i < main->ToolBar1->ButtonCount(); ++i) buttons.push_back(main->ToolBar1->ButtonAction(i));
    EXPECT_EQ(buttons, (std::vector<TAction*>{main->actOpen, main->actPlay, main->actRecord, main->actStop, main->actSave,
                                              nullptr, main->actRepeat, nullptr, main->actPianoRoll, nullptr,
                                              main->actOptions, nullptr}));
    EXPECT_EQ(options->cbGMPatches->Count(), 128);
    EXPECT_EQ(options->cbGMPatches->Items(0), "0: Acoustic Grand Piano");
    EXPECT_EQ(options->cbGMPatches->Items(24), "24: Acoustic Guitar (nylon)");
    EXPECT_EQ(options->cbGMPatches->ItemValue(127), 127);
    EXPECT_EQ(options->lblColorL->Color(), 11844998);
    // No settings file: the last file is "Untitled.mid" beside the program, not in the current folder.
    EXPECT_EQ(main->MidiFile1->FileName(), ProgramFolder() + "Untitled.mid");
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, TheRollOpensOnTheSecondTickWhenItWasOpenAtTheLastEnd)
{
    int rolls = 0;
    main->actPianoRoll->OnExecute = [&](TObject*) { ++rolls; };
    main->actPianoRoll->SetTag(1);
    main->FormShow();
    EXPECT_TRUE(main->TimerRoll->Enabled());
    main->TimerRollTimer();
    EXPECT_EQ(rolls, 0);
    main->TimerRollTimer();
    EXPECT_EQ(rolls, 1);
    EXPECT_FALSE(main->TimerRoll->Enabled());
    EXPECT_EQ(main->TimerRoll->Tag(), 0);
    main->actPianoRoll->SetTag(0);
    main->FormShow();
    EXPECT_FALSE(main->TimerRoll->Enabled());
}

TEST_F(MainWindow, AChannelBoxSwitchesTheTracksThatUseTheChannel)
{
    // Track i plays on the channels listed for it (a program change on each names it).
    const std::vector<std::vector<int>> channels = {{0}, {9}, {0, 9}, {3}};
    for (std::size_t i = 0; i < channels.size(); ++i) {
        auto track = std::make_unique<TMyMidiTrack>();
        track->SetTrackIndex(static_cast<int>(i));
        for (int ch : channels[i]) {
            auto program = std::make_unique<TKVMidiEvent>();
            program->SetEvent(static_cast<std::uint8_t>(0xC0 | ch));
            track->PutEvent(std::move(program));
        }
        main->MidiFile1->SetTrack(std::move(track));
    }
    options->PianoTracks1->ClearTracks();
    for (int i = 0; i < main->MidiFile1->TrackCount(); ++i) options->PianoTracks1->AddTrack(main->MidiFile1->GetTrack(i));
    const auto active = [this] {
        std::vector<bool> a;
        for (int i = 0; i < main->MidiFile1->TrackCount(); ++i) a.push_back(main->MidiFile1->GetTrack(i)->Active());
        return a;
    };
    options->PianoChannels1->DoChannelBox(9, true);
    EXPECT_EQ(active(), (std::vector<bool>{true, true, true, true}));
    options->PianoChannels1->DoChannelBox(9, false);
    EXPECT_EQ(active(), (std::vector<bool>{true, false, false, true}));
    options->PianoChannels1->DoChannelBox(0, false);
    EXPECT_EQ(active(), (std::vector<bool>{false, false, false, true}));
    options->PianoChannels1->DoChannelBox(9, true);
    EXPECT_EQ(active(), (std::vector<bool>{false, true, true, true}));
    // A note lights in the colour of its track's hand; a track beyond the song's is the left one's.
    options->PianoTracks1->SetTrackHand(1, thRight);
    options->lblColorR->SetColor(0x0000FF);
    for (const auto& [track, colour] : std::vector<std::pair<int, TColor>>{{0, 11844998}, {1, 0x0000FF}, {4, 11844998}}) {
        TKVMidiEvent note;
        note.SetTrack(static_cast<std::uint8_t>(track));
        EXPECT_EQ(options->GetHandColor(note), colour) << track;
    }
    options->PianoTracks1->ClearTracks();
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, ToolBarButtonsShowTheirActionsImagesAndHintsTheirTooltips)
{
    HWND bar = main->ToolBar1->Handle();
    ASSERT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0)), main->ImageList1->Handle());
    EXPECT_GE(main->ImageList1->Count(), 21);
    main->actRepeat->SetHint("Play again");
    for (int i = 0; i < main->ToolBar1->ButtonCount(); ++i) {
        TAction* action = main->ToolBar1->ButtonAction(i);
        if (!action) continue;
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.iBitmap, action->ImageIndex()) << action->Caption();
        // The tooltip asks the bar for its text, the way it does when the mouse rests on a button.
        NMTTDISPINFOW ask{};
        ask.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
        ask.hdr.idFrom = static_cast<UINT_PTR>(button.idCommand);
        ask.hdr.code = TTN_GETDISPINFOW;
        ask.lpszText = ask.szText; // as the tooltip hands it over
        SendMessageW(bar, WM_NOTIFY, ask.hdr.idFrom, reinterpret_cast<LPARAM>(&ask));
        EXPECT_EQ(WideToUtf8(ask.lpszText), action->Hint()) << action->Caption();
    }
    // The key slider is left out of Tab moves; controls write in the window's font.
    EXPECT_EQ(GetWindowLongPtrW(main->trbKey->Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_NE(GetWindowLongPtrW(main->trbSpeedRatio->Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(main->StatusBar1->Handle(), WM_GETFONT, 0, 0)),
                           sizeof(font), &font));
    EXPECT_EQ(WideToUtf8(font.lfFaceName), "Tahoma");
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, StayOnTopTogglesAndTheSystemMenuFollows)
{
    EXPECT_FALSE(TopMost());
    for (bool expected : {true, false, true, false}) {
        main->actStayOnTop->Execute();
        EXPECT_EQ(TopMost(), expected);
        EXPECT_EQ(main->actStayOnTop->Checked(), expected);
        EXPECT_EQ(SystemMenuChecked(), expected);
    }
}

TEST_F(MainWindow, TheMessageHookRoutesF1SpaceAndTheSystemMenu)
{
    int plays = 0;
    main->actPlay->OnExecute = [&](TObject*) { ++plays; };
    HWND focus = options->clbOutput->Handle(); // keys go to whatever window has the focus
    PostMessageW(focus, WM_KEYDOWN, VK_F1, 0);
    Pump();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].first, ProgramFolder() + "app_tests.chm");
    EXPECT_EQ(opened[0].second, ProgramFolder());
    // Space plays from the main window only: not from another window's control, not while a
    // dialog is open, not while Play is disabled.
    HWND piano = main->PianoKeyboard1->Handle();
    PostMessageW(piano, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(piano, WM_KEYDOWN, VK_SPACE, 1 << 30); // auto-repeated
    PostMessageW(focus, WM_KEYDOWN, VK_SPACE, 0);
    Pump();
    EXPECT_EQ(plays, 2);
    main->SetDialogOpen(true);
    PostMessageW(piano, WM_KEYDOWN, VK_SPACE, 0);
    Pump();
    EXPECT_EQ(plays, 2);
    main->SetDialogOpen(false);
    main->actPlay->SetEnabled(false);
    PostMessageW(main->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    Pump();
    EXPECT_EQ(plays, 2);
    PostMessageW(main->Handle(), WM_SYSCOMMAND, SysMenuStayOnTop, 0);
    Pump();
    EXPECT_TRUE(TopMost());
    PostMessageW(main->Handle(), WM_SYSCOMMAND, SysMenuStayOnTop + 0x10, 0); // not the item's command exactly
    Pump();
    EXPECT_TRUE(TopMost());
    PostMessageW(main->Handle(), WM_SYSCOMMAND, SysMenuAbout, 0);
    Pump();
    ASSERT_TRUE(frmAbout);
    EXPECT_TRUE(IsWindowVisible(frmAbout->Handle()));
    frmAbout->Close();
    Pump();
    EXPECT_EQ(frmAbout, nullptr);
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, AWindowShownFromTheMainWindowStandsAboveIt)
{
    struct Case {
        int mainTop;
        int expectedTop;
    };
    for (const Case c : {Case{400, 400 - 150}, Case{100, 0}, Case{0, 0}}) {
        main->SetTop(c.mainTop);
        TForm* shown = main->ShowFormAbove(nullptr, [this] {
            auto* form = new TForm(main.get());
            form->SetBounds(10, 10, 200, 150);
            return form;
        });
        EXPECT_EQ(shown->Top(), c.expectedTop) << c.mainTop;
        main->SnapForm(shown);
        EXPECT_EQ(shown->Left(), main->Left() + (main->Width() - 200) / 2);
        delete shown;
    }
}

TEST_F(MainWindow, ClosingAWindowLeavesRunTimeTextsTranslatedForTheOthers)
{
    const std::string file = (folder / "fr_FR.lng").string();
    std::ofstream(file) << "[Translator]\nPause=Pause FR\n";
    Language().Load(file);
    // The windows were made before the language was loaded: they switch translation on anew.
    Language().HookLoadResString();
    main->actAbout->Execute();
    ASSERT_TRUE(frmAbout);
    frmAbout->Close();
    Pump();
    EXPECT_EQ(ResStr("Pause"), "Pause FR");
    Language().UnhookLoadResString();
    Language().Clear();
    EXPECT_EQ(ResStr("Pause"), "Pause");
}

} // namespace
} // namespace kv
