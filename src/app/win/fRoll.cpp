#include "app/win/fRoll.h"

#include "app/uLanguage.h"
#include "app/uSettings.h"
#include "app/win/fEdit.h"
#include "app/win/fMain.h"
#include "app/win/fOption.h"
#include "app/win/uLanguageWin.h"
#include "app/win/uToolImages.h"
#include "gui/win/TApplication.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kv {

TfrmRoll* frmRoll = nullptr;

namespace {

constexpr std::int32_t StripHeight = 33;
constexpr char KeyShowRoll[] = "ShowRoll";
constexpr char KeyQuarterNoteWidth[] = "QuarterNoteWidth";
constexpr char KeyQuarterNoteHeight[] = "QuarterNoteHeight";

struct TModeButton {
    const char* Name;
    const char* Caption;
    const char* Hint;
    std::int32_t Left;
    TPlayMode Mode;
};

constexpr TModeButton ModeButtonTable[] = {{"SpeedButton1", ">", "Play", 610, pmPlay},
                                           {"SpeedButton2", "E", "Edit", 639, pmEdit},
                                           {"SpeedButton3", "+", "Insert", 668, pmInsert},
                                           {"SpeedButton4", "X", "Delete", 697, pmDelete}};

} // namespace

TfrmRoll::TfrmRoll(TComponent* AOwner, TfrmMain* Main, std::string SettingsFile)
    : TForm(AOwner), FMain(Main), FSettingsFile(std::move(SettingsFile))
{
    SetName("frmRoll");
    SetCaption("Piano Roll");
    SetClientSize(738, 392);
    CenterOn(FMain);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    // The children are laid out against the real client area, which needs the window.
    HandleNeeded();
    CreateControls();
    TranslateComponent(this);
    Language().HookLoadResString();
    OnClose = [this](TObject*) { ClearShowRoll(); };
}

TfrmRoll::~TfrmRoll()
{
    GuardedCall([this] { SaveSettings(); });
    // The last note-offs still reach the outputs, then nothing more may call back into this window.
    GuardedCall([this] { PianoRoll1->ReleaseSoundingNotes(); });
    PianoRoll1->OnMidiEvent = nullptr;
    PianoRoll1->OnSelectionChange = nullptr;
    PianoRoll1->OnDblClickNote = nullptr;
    for (TSpeedButton* b : ModeButtons) b->OnClick = nullptr;
    Language().UnhookLoadResString();
    if (frmRoll == this) frmRoll = nullptr;
}

void TfrmRoll::CreateControls()
{
    const std::int32_t width = ClientWidth();
    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetColor(clBlack);
    Panel1->SetTag(1);
    Panel1->SetBounds(0, 0, width, StripHeight);
    Panel1->SetAnchors(akLeft | akTop | akRight);
    Panel1->SetParent(this);
    for (std::size_t i = 0; i < ModeButtons.size(); ++i) {
        const TModeButton& m = ModeButtonTable[i];
        auto* b = new TSpeedButton(this);
        b->SetName(m.Name);
        b->SetCaption(m.Caption);
        b->SetHint(m.Hint);
        b->SetShowHint(true);
        b->SetTag(m.Mode);
        b->SetGroupIndex(1);
        b->SetBounds(m.Left, 5, 23, 22);
        b->SetAnchors(akTop | akRight);
        b->SetParent(Panel1);
        b->OnClick = [this](TObject* Sender) {
            PianoRoll1->SetPlayMode(static_cast<TPlayMode>(static_cast<TComponent*>(Sender)->Tag()));
        };
        ModeButtons[i] = b;
    }
    ModeButtons[0]->SetDown(true);

    PianoRoll1 = new TKVPianoRoll(this);
    PianoRoll1->SetName("PianoRoll1");
    PianoRoll1->SetBounds(0, StripHeight, width, ClientHeight() - StripHeight);
    PianoRoll1->SetAnchors(akLeft | akTop | akRight | akBottom);
    PianoRoll1->SetParent(this);
    PianoRoll1->SetPlayMode(pmPlay);
    PianoRoll1->SetQuarterNoteWidth(64);
    PianoRoll1->SetQuarterNoteHeight(6);
    PianoRoll1->SetNotePosition(0);
    PianoRoll1->SetCurrentTime(-1);
    TBitmap glyph;
    DrawResetGlyph(glyph);
    PianoRoll1->SetResetGlyph(glyph);
    PianoRoll1->OnMidiEvent = [this](TKVMidiEvent* Event) { RollMidiEvent(Event); };
    PianoRoll1->OnSelectionChange = [this](std::int32_t Count, TKVMidiEvent* Event) {
        PianoRoll1->SetInfoText(SelectionText(Count, Event));
    };
    PianoRoll1->OnDblClickNote = [this](TKVMidiEvent* Event) {
        // The editor opens after the double click's own mouse messages are done.
        FEditNote = Event;
        PostMessageW(Handle(), WM_EDIT_NOTE, 0, 0);
    };
    if (FMain) PianoRoll1->SetMidiFile(FMain->MidiFile1);
}

void TfrmRoll::EditNote()
{
    TKVMidiEvent* note = std::exchange(FEditNote, nullptr);
    // The note may have gone since the double click.
    const auto& list = PianoRoll1->MidiEventList();
    if (!FMain || !note || std::none_of(list.begin(), list.end(), [note](const auto& e) { return e.Event == note; })) return;
    // The roll hears of an Apply through the song, as every other holder does.
    ShowEventEditor(this, FMain->MidiFile1, 1, -1, note);
}

void TfrmRoll::RollMidiEvent(TKVMidiEvent* Event)
{
    if (!Event || !FMain) return;
    const std::uint8_t kind = Event->Event() & 0xF0;
    const bool noteOff = kind == 0x80 || (kind == 0x90 && Event->Data2() == 0);
    if (noteOff) {
        // A note the roll sounded is ended whatever the player does meanwhile; a note it never
        // sounded needs no note-off.
        const auto sounding = std::find(FSounding.begin(), FSounding.end(), SoundingKey(*Event));
        if (sounding == FSounding.end()) return;
        FSounding.erase(sounding);
    } else {
        // While the player plays or records it sounds the song itself.
        const TKVStatus status = FMain->MidiPlayer1->Status();
        if (status == stPlaying || status == stRecording) return;
        if (kind == 0x90) {
            // Idle, only what the user asked for sounds: a note auditioned in an edit mode, or the
            // notes under a cursor the user put there. Notes lit under a cursor the player left
            // behind, or at a paint of a roll just shown, stay silent.
            if (PianoRoll1->PlayMode() == pmPlay && !PianoRoll1->CursorPlacedByUser()) return;
            FSounding.push_back(SoundingKey(*Event));
        }
    }
    FMain->MidiDevices1->SendMidiShort(Event->Event(), Event->Data1(), Event->Data2());
    const TColor colour = frmOption ? frmOption->GetHandColor(*Event) : clBlack;
    FMain->PianoKeyboard1->DoMidiShort(Event->Event(), Event->Data1(), Event->Data2(), colour);
}

std::uint16_t TfrmRoll::SoundingKey(const TKVMidiEvent& Event)
{
    return static_cast<std::uint16_t>(((Event.Event() & 0x0F) << 8) | Event.Data1());
}

std::string TfrmRoll::SelectionText(std::int32_t Count, const TKVMidiEvent* Event)
{
    if (!Event) return "";
    char text[160];
    std::snprintf(text, sizeof text, "Count:%d, Track:%d, Channel:%d, Event:%2X, Data1:%2X, Data2: %2X, StartTime:%d",
                  static_cast<int>(Count), Event->Track() + 1, Event->Event() & 15, Event->Event(), Event->Data1(),
                  Event->Data2(), static_cast<int>(Event->StartTime()));
    return text;
}

void TfrmRoll::LoadSettings()
{
    TIniFile ini(FSettingsFile);
    // The roll's setters keep the zoom within its sliders' ranges, whatever the file says.
    PianoRoll1->SetQuarterNoteWidth(ini.ReadInteger(SectionPianoRoll, KeyQuarterNoteWidth, PianoRoll1->QuarterNoteWidth()));
    PianoRoll1->SetQuarterNoteHeight(ini.ReadInteger(SectionPianoRoll, KeyQuarterNoteHeight, PianoRoll1->QuarterNoteHeight()));
    ini.WriteInteger(SectionPianoRoll, KeyShowRoll, 1);
}

void TfrmRoll::ClearShowRoll() { TIniFile(FSettingsFile).WriteInteger(SectionPianoRoll, KeyShowRoll, 0); }

void TfrmRoll::SaveSettings()
{
    TIniFile ini(FSettingsFile);
    ini.WriteInteger(SectionPianoRoll, KeyQuarterNoteWidth, PianoRoll1->QuarterNoteWidth());
    ini.WriteInteger(SectionPianoRoll, KeyQuarterNoteHeight, PianoRoll1->QuarterNoteHeight());
}

void TfrmRoll::UpdateFormSize()
{
    const std::int32_t height = PianoRoll1->AutoRectHeight() + StripHeight + 2 * GetSystemMetrics(SM_CXSIZEFRAME) +
                                GetSystemMetrics(SM_CYCAPTION);
    if (!FMain) {
        SetHeight(height);
        return;
    }
    SetBounds(FMain->Left(), std::max(0, FMain->Top() - height), FMain->Width(), height);
}

void TfrmRoll::FormShow()
{
    LoadSettings();
    UpdateFormSize();
}

LRESULT TfrmRoll::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    // lParam is 0 when the window itself is shown or hidden, not its owner minimised.
    if (Msg == WM_SHOWWINDOW && lParam == 0) {
        if (wParam) FormShow();
        // Hidden, the roll paints no more: whatever it sounds is ended now.
        else PianoRoll1->ReleaseSoundingNotes();
    }
    if (Msg == WM_EDIT_NOTE) {
        EditNote();
        return 0;
    }
    return TForm::WndProc(Msg, wParam, lParam);
}

} // namespace kv
