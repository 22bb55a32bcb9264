// The event and header editor: what it shows, numbers typed in decimal or "$" hexadecimal, bad
// input refused with a message and nothing written, the header page, the list row refreshed after
// Apply (the first row too) and the roll's double click on a note opening it.
#include "app/win/EventListTestSupport.h"
#include "app/win/WindowPixels.h"
#include "app/win/fEdit.h"
#include "app/win/fEvent.h"
#include "app/win/fMain.h"
#include "app/win/fRoll.h"
#include "gui/win/TApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::FillSongOfEveryKind;

class EventEditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControlClasses();
        Application()->OnException = [this](const std::string& m) { errors.push_back(m); };
        main = std::make_unique<TfrmMain>(nullptr);
        frmMain = main.get();
        FillSongOfEveryKind(*main->MidiFile1);
        song = main->MidiFile1;
    }
    void TearDown() override
    {
        editor.reset();
        main.reset();
        Application()->OnException = nullptr;
    }
    TKVMidiEvent* Find(int Status, int Data1)
    {
        for (int t = 0; t < song->TrackCount(); ++t)
            for (int i = 0; i < song->GetTrack(t)->TrackEventCount(); ++i) {
                TKVMidiEvent* e = song->GetTrack(t)->GetEvent(i);
                if (e->Event() == Status && e->Data1() == Data1) return e;
            }
        return nullptr;
    }
    void Open(TKVMidiEvent* Event)
    {
        editor = std::make_unique<TfrmEdit>(nullptr, song);
        editor->SetMidiHeader(song->MidiHeader());
        editor->SetMidiEvent(Event);
        editor->Show();
    }
    // Apply as the button does it: a refused field reaches the application's handler.
    void ClickApply() { SendMessageW(editor->Button1->Handle(), BM_CLICK, 0, 0); }

    std::unique_ptr<TfrmMain> main;
    TKVMidiFile* song = nullptr;
    std::unique_ptr<TfrmEdit> editor;
    std::vector<std::string> errors;
};

TEST_F(EventEditorWindow, ShowsTheEventInDecimalAndTheMetaFieldByKind)
{
    struct Case {
        int status, data1;
        const char *event, *data1Text, *data2, *start;
        bool metaShown;
        const char *label, *value;
    };
    const Case cases[] = {
        {0x92, 60, "146", "60", "100", "960", false, "", ""},
        {0xFF, 0x51, "255", "81", "0", "0", true, "Speed:", "120"},
        {0xFF, 0x58, "255", "88", "0", "0", true, "Time Signature:", "6/8"},
        {0xFF, 0x03, "255", "3", "0", "0", true, "Letter:", "Piano"},
        {0xFF, 0x7F, "255", "127", "0", "80", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event + std::string("/") + c.data1Text);
        Open(Find(c.status, c.data1));
        EXPECT_EQ(editor->Edit1->Text(), c.event);
        EXPECT_EQ(editor->Edit2->Text(), c.data1Text);
        EXPECT_EQ(editor->Edit3->Text(), c.data2);
        EXPECT_EQ(editor->Edit5->Text(), c.start);
        EXPECT_EQ(editor->SpinEdit1->Value(), 1);
        EXPECT_EQ(editor->SpinEdit1->MaxValue(), 2);
        EXPECT_EQ(IsWindowVisible(editor->editLetter->Handle()) != FALSE, c.metaShown);
        if (c.metaShown) {
            EXPECT_EQ(editor->lblLetter->Caption(), c.label);
            EXPECT_EQ(editor->editLetter->Text(), c.value);
        }
    }
    EXPECT_EQ(editor->Caption(), "Event");
    EXPECT_EQ(editor->ClientWidth(), 297);
    EXPECT_EQ(editor->ClientHeight(), 204);
    EXPECT_EQ(editor->PageControl1->ActivePageIndex(), 1);
}

TEST_F(EventEditorWindow, NumbersInDecimalOrHexadecimalAreWrittenAndTheNoteOffFollows)
{
    struct Case {
        const char *what, *event, *data1, *data2, *start;
        int wantEvent, wantData1, wantData2, wantStart, wantOffStart;
    };
    const Case cases[] = {
        {"decimal", "145", "62", "90", "1200", 0x91, 62, 90, 1200, 1680},
        {"hexadecimal", "$93", "$3E", "$7f", "$4B0", 0x93, 62, 127, 1200, 1680},
        {"low 8 bits of a number past a byte", "146", "300", "100", "960", 0x92, 44, 100, 960, 1440},
        {"text that is no number keeps the value", "x", "", "abc", "abc", 0x92, 60, 100, 960, 1440},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillSongOfEveryKind(*song);
        TKVMidiEvent* note = Find(0x92, 60);
        Open(note);
        editor->Edit1->SetText(c.event);
        editor->Edit2->SetText(c.data1);
        editor->Edit3->SetText(c.data2);
        editor->Edit5->SetText(c.start);
        ClickApply();
        EXPECT_TRUE(errors.empty());
        EXPECT_FALSE(editor->Visible());
        EXPECT_EQ(note->Event(), c.wantEvent);
        EXPECT_EQ(note->Data1(), c.wantData1);
        EXPECT_EQ(note->Data2(), c.wantData2);
        EXPECT_EQ(note->StartTime(), c.wantStart);
        ASSERT_NE(note->RelatedEvent(), nullptr);
        EXPECT_EQ(note->RelatedEvent()->StartTime(), c.wantOffStart);
        EXPECT_EQ(note->RelatedEvent()->Data1(), c.wantData1);
    }
}

TEST_F(EventEditorWindow, ASpeedThatIsNoNumberIsRefusedWithAMessageAndNothingIsWritten)
{
    TKVMidiEvent* tempo = Find(0xFF, 0x51);
    const std::string letter = tempo->Letter();
    Open(tempo);
    editor->editLetter->SetText("fast");
    editor->Edit2->SetText("82");
    editor->LabeledEdit2->SetText("960");
    ClickApply();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("fast"), std::string::npos) << errors[0];
    EXPECT_TRUE(editor->Visible());
    EXPECT_EQ(tempo->Letter(), letter);
    EXPECT_EQ(tempo->Data1(), 0x51);
    EXPECT_EQ(song->MidiHeader().PulsesPerQuarter, 480);

    // 90 beats per minute: 666 666 microseconds per quarter.
    editor->editLetter->SetText("90");
    editor->Edit2->SetText("$51");
    ClickApply();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(tempo->Letter(), test::Bytes({0x0A, 0x2C, 0x2A}));
    EXPECT_EQ(song->MidiHeader().PulsesPerQuarter, 960);
}

TEST_F(EventEditorWindow, TheHeaderPageWritesTheHeaderOnly)
{
    editor = std::make_unique<TfrmEdit>(nullptr, song);
    editor->SetMidiHeader(song->MidiHeader());
    editor->PageControl1->SetActivePageIndex(0);
    editor->Show();
    EXPECT_EQ(editor->RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(editor->LabeledEdit1->Text(), "2");
    EXPECT_TRUE(editor->LabeledEdit1->ReadOnly());
    EXPECT_EQ(editor->LabeledEdit2->Text(), "480");
    test::SaveScreenshot(test::CaptureClient(editor->Handle()), "header_editor");
    // The read-only track count stands on the info background, the resolution on the window's.
    const auto background = [](TEdit* edit) {
        const test::WindowPixels shot = test::CaptureClient(edit->Handle());
        return shot.At(shot.Width - 3, shot.Height / 2);
    };
    EXPECT_EQ(background(editor->LabeledEdit1), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(background(editor->LabeledEdit2), GetSysColor(COLOR_WINDOW));

    struct Case {
        int type;
        const char* ppq;
        int wantType, wantPpq;
        bool refused;
    };
    const Case cases[] = {
        {0, "$3C0", 0, 960, false},
        {2, "192", 2, 192, false},
        {1, "many", 1, 192, false}, // no number: the current value
        {0, "0", 1, 192, true},     // a song needs a resolution
        {0, "40000", 1, 192, true}, // the file keeps 15 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ppq);
        errors.clear();
        editor->Show();
        editor->RadioGroup1->SetItemIndex(c.type);
        editor->LabeledEdit2->SetText(c.ppq);
        ClickApply();
        EXPECT_EQ(!errors.empty(), c.refused);
        EXPECT_EQ(static_cast<int>(song->MidiHeader().HeaderType), c.wantType);
        EXPECT_EQ(song->MidiHeader().PulsesPerQuarter, c.wantPpq);
        EXPECT_EQ(song->MidiHeader().NumberTracks, 2);
    }
}

TEST_F(EventEditorWindow, MovingANoteToAnotherTrackTakesItsNoteOffAlong)
{
    TKVMidiEvent* note = Find(0x92, 60);
    Open(note);
    EXPECT_FALSE(editor->SpinEdit1->ReadOnly());
    editor->SpinEdit1->SetValue(2);
    ClickApply();
    EXPECT_EQ(note->Track(), 1);
    EXPECT_EQ(note->RelatedEvent()->Track(), 1);
    EXPECT_EQ(song->GetTrack(1)->TrackEventCount(), 5);
    EXPECT_EQ(song->GetTrack(0)->TrackEventCount(), 13);
}

TEST_F(EventEditorWindow, AOneTrackSongHasAReadOnlyTrackField)
{
    song->ResetFile();
    auto track = std::make_unique<TMyMidiTrack>();
    track->AddEvent(test::ListEvent(0xB0, 7, 90, 0));
    song->SetTrack(std::move(track));
    song->CreateHeader(96, true);
    Open(Find(0xB0, 7));
    EXPECT_TRUE(editor->SpinEdit1->ReadOnly());
}

TEST_F(EventEditorWindow, ApplyFromTheListShowsTheNewValuesInTheEditedRowTheFirstIncluded)
{
    main->actMidiEvent->Execute();
    ASSERT_NE(frmEvent, nullptr);
    test::WaitForTheFillAfterShowing(*frmEvent);
    for (int row : {0, 5}) {
        SCOPED_TRACE(row);
        for (int r = 0; r < frmEvent->RowCount(); ++r) frmEvent->ListView1->SetSelected(r, r == row);
        bool opened = false;
        test::RunInMessageLoop([&] {
            ASSERT_NE(frmEdit, nullptr);
            opened = frmEdit->MidiEvent() == frmEvent->GetMidiEvent(row);
            frmEdit->Edit3->SetText("$22");
            test::Press(frmEdit->Button1);
        });
        test::Press(frmEvent->Button2);
        EXPECT_TRUE(opened);
        EXPECT_EQ(frmEdit, nullptr);
        EXPECT_EQ(frmEvent->GetMidiEvent(row)->Data2(), 0x22);
        EXPECT_EQ(frmEvent->ListView1->CellText(row, 7), "0x22");
    }
    // Header without a row: the header page, no event.
    for (int r = 0; r < frmEvent->RowCount(); ++r) frmEvent->ListView1->SetSelected(r, false);
    int page = -1;
    bool withEvent = true;
    test::RunInMessageLoop([&] {
        page = frmEdit->PageControl1->ActivePageIndex();
        withEvent = frmEdit->MidiEvent() != nullptr;
        test::SaveScreenshot(test::CaptureClient(frmEdit->Handle()), "editor_from_list");
        test::Press(frmEdit->Button2);
    });
    test::Press(frmEvent->Button1);
    EXPECT_EQ(page, 0);
    EXPECT_FALSE(withEvent);
    EXPECT_TRUE(errors.empty());
}

TEST_F(EventEditorWindow, DoubleClickingANoteInTheRollOpensTheEditorOnIt)
{
    const std::string settings = (fs::temp_directory_path() / ("kv_edroll_" + std::to_string(GetCurrentProcessId()) + ".ini")).string();
    {
        TfrmRoll roll(nullptr, frmMain, settings);
        frmRoll = &roll;
        roll.PianoRoll1->SetMidiFile(song);
        TKVMidiEvent* note = Find(0x90, 64);
        roll.PianoRoll1->SelectNote(note);
        roll.PianoRoll1->PaintBoxDblClick();
        TKVMidiEvent* edited = nullptr;
        std::string pitch;
        test::RunInMessageLoop([&] {
            edited = frmEdit->MidiEvent();
            pitch = frmEdit->Edit2->Text();
            test::SaveScreenshot(test::CaptureClient(frmEdit->Handle()), "editor_from_roll");
            frmEdit->Edit2->SetText("65");
            test::Press(frmEdit->Button1);
        });
        for (int i = 0; i < 20 && !edited; ++i) {
            Application()->ProcessMessages();
            Sleep(10);
        }
        EXPECT_EQ(edited, note);
        EXPECT_EQ(pitch, "64");
        EXPECT_EQ(note->Data1(), 65);
        EXPECT_EQ(frmEdit, nullptr);
        frmRoll = nullptr;
    }
    std::error_code ignored;
    fs::remove(settings, ignored);
    EXPECT_TRUE(errors.empty());
}

} // namespace
} // namespace kv
