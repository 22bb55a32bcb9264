#include "piano/kvPianoKeyboardCore.h"

#include "base/TFileStream.h"
#include "piano/kvPianoKeyLayout.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace kv {

namespace {

constexpr std::uint8_t NoteOn = 0x90;
constexpr std::uint8_t NoteOff = 0x80;
constexpr std::uint8_t Controller = 0xB0;
constexpr std::uint8_t AllNotesOff = 123;
constexpr std::uint8_t ReleaseVelocity = 64;

} // namespace

TKVPianoKeyboardCore::TKVPianoKeyboardCore()
{
    BuildNotesMap();
    BuildColorMap();
}

void TKVPianoKeyboardCore::SetPianoKeyWidth(std::uint16_t Value)
{
    if (Value == FPianoKeyWidth) return;
    FPianoKeyWidth = Value;
    UpdateKeyboardSize();
    RepaintKeys();
}

void TKVPianoKeyboardCore::SetPianoKeyHeight(std::uint16_t Value)
{
    if (Value == FPianoKeyHeight) return;
    FPianoKeyHeight = Value;
    UpdateKeyboardSize();
    RepaintKeys();
}

void TKVPianoKeyboardCore::SetPianoLable(TKVKeyboardLabel Value)
{
    if (Value == FPianoLabel) return;
    FPianoLabel = Value;
    RepaintKeys();
}

void TKVPianoKeyboardCore::SetPianoColor(TColor Value)
{
    if (Value == FPianoColor) return;
    FPianoColor = Value;
    BuildColorMap();
}

void TKVPianoKeyboardCore::SetPianoOctave(std::uint8_t Value)
{
    if (Value > 10 - FPianoGroup) return;
    if (Value == FPianoOctave) return;
    FPianoOctave = Value;
    if (OnOctaveChanged) OnOctaveChanged(Value);
    ResetPianoKeys();
}

void TKVPianoKeyboardCore::SetPianoGroup(std::int32_t Value)
{
    if (Value > 10 - FPianoOctave) SetPianoOctave(static_cast<std::uint8_t>(FPianoOctave - 1));
    if (Value == FPianoGroup) return;
    FPianoGroup = Value;
    if (OnGroupChanged) OnGroupChanged(static_cast<std::uint8_t>(Value));
    ResetPianoKeys();
}

void TKVPianoKeyboardCore::SetPianoFixed(bool Value)
{
    FPianoFixed = Value;
    if (Value) {
        SetPianoOctave(0);
    } else {
        SetPianoGroup(6);
        SetPianoOctave(2);
    }
    ArrowsVisibleChanged(!Value);
    if (OnGroupChanged) OnGroupChanged(static_cast<std::uint8_t>(FPianoGroup));
    if (OnOctaveChanged) OnOctaveChanged(FPianoOctave);
    UpdateKeyboardSize();
    BuildNotesMap();
}

TKVPianoGeometry TKVPianoKeyboardCore::Geometry0() const
{
    TKVPianoGeometry geometry;
    geometry.KeyWidth = FPianoKeyWidth;
    geometry.KeyHeight = FPianoKeyHeight;
    geometry.Fixed = FPianoFixed;
    geometry.Group = FPianoGroup;
    return geometry;
}

TKVPianoGeometry TKVPianoKeyboardCore::Geometry() const
{
    TKVPianoGeometry geometry = Geometry0();
    geometry.PaintWidth = PaintBoxWidth();
    return geometry;
}

// --- pressed keys ---------------------------------------------------------------------------

void TKVPianoKeyboardCore::PressPianoKey(std::uint8_t Key, TColor AColor)
{
    if (Key >= PianoKeyCount) return;
    {
        std::lock_guard lock(FCriticalSection);
        if (std::find(FKeysList.begin(), FKeysList.end(), Key) == FKeysList.end()) {
            FKeysList.push_back(Key);
            FColorList[Key] = AColor;
        }
    }
    InvalidateKeys();
}

void TKVPianoKeyboardCore::ReleasePianoKey(std::uint8_t Key)
{
    if (Key >= PianoKeyCount) return;
    {
        std::lock_guard lock(FCriticalSection);
        auto found = std::find(FKeysList.begin(), FKeysList.end(), Key);
        if (found != FKeysList.end()) {
            FKeysList.erase(found);
            FColorList[Key] = FPianoColor;
        }
    }
    InvalidateKeys();
}

void TKVPianoKeyboardCore::ResetPianoKeys()
{
    {
        std::lock_guard lock(FCriticalSection);
        FKeysList.clear();
    }
    InvalidateKeys();
}

void TKVPianoKeyboardCore::BuildColorMap()
{
    {
        std::lock_guard lock(FCriticalSection);
        FColorList.fill(FPianoColor);
    }
    ResetPianoKeys();
}

bool TKVPianoKeyboardCore::KeyPressed(std::uint8_t Key, TColor* Color)
{
    std::lock_guard lock(FCriticalSection);
    const bool pressed = std::find(FKeysList.begin(), FKeysList.end(), Key) != FKeysList.end();
    if (pressed && Color) *Color = FColorList[Key];
    return pressed;
}

std::vector<std::uint8_t> TKVPianoKeyboardCore::PressedKeys()
{
    std::lock_guard lock(FCriticalSection);
    return FKeysList;
}

// --- notes in and out -----------------------------------------------------------------------

void TKVPianoKeyboardCore::DoMidiShort(std::uint8_t Event, std::uint8_t data1, std::uint8_t data2, TColor AColor)
{
    const auto key = static_cast<std::uint8_t>(data1 - 12 * FPianoOctave);
    switch (Event & 0xF0) {
    case NoteOff:
        ReleasePianoKey(key);
        break;
    case NoteOn:
        PressPianoKey(key, AColor);
        if (data2 == 0) ReleasePianoKey(key);
        break;
    case Controller:
        if (data1 == AllNotesOff) ResetPianoKeys();
        break;
    default:
        break;
    }
}

void TKVPianoKeyboardCore::DoMidiShort(std::uint8_t Event, std::uint8_t data1, std::uint8_t data2)
{
    DoMidiShort(Event, data1, data2, FPianoColor);
}

void TKVPianoKeyboardCore::PlayPianoKey(bool Down, std::int32_t Key)
{
    const std::int32_t note = 12 * FPianoOctave + Key;
    if (Key < 0 || Key >= PianoKeyCount || note > 127) return;
    if (Down) {
        PressPianoKey(static_cast<std::uint8_t>(Key), FPianoColor);
        if (OnKeyboard) OnKeyboard(NoteOn, static_cast<std::uint8_t>(note), std::min<std::uint8_t>(FPianoIntensity, 127));
    } else {
        ReleasePianoKey(static_cast<std::uint8_t>(Key));
        if (OnKeyboard) OnKeyboard(NoteOff, static_cast<std::uint8_t>(note), ReleaseVelocity);
    }
}

// --- computer keys --------------------------------------------------------------------------

void TKVPianoKeyboardCore::PlayComputerKey(std::uint16_t VirtualKey, std::int32_t Key)
{
    std::vector<std::int32_t>& held = FComputerKeysDown[VirtualKey];
    if (std::find(held.begin(), held.end(), Key) == held.end()) held.push_back(Key);
    PlayPianoKey(true, Key);
}

void TKVPianoKeyboardCore::DoPianoKeyDown(TObject*, std::uint16_t& Key, TShiftState Shift)
{
    const std::int32_t n = KeyToNote(Key);
    if (n == -1) return;
    FCtrlDown = (Shift & ssCtrl) != 0;
    PlayComputerKey(Key, n + (FCtrlDown ? 1 : 0));
    FShiftDown = (Shift & ssShift) != 0;
    if (FShiftDown) PlayComputerKey(Key, n + 12 + (FCtrlDown ? 1 : 0));
}

void TKVPianoKeyboardCore::DoPianoKeyUp(TObject*, std::uint16_t& Key, TShiftState)
{
    const std::int32_t n = KeyToNote(Key);
    if (n == -1) return;
    auto held = FComputerKeysDown.find(Key);
    if (held != FComputerKeysDown.end()) {
        const std::vector<std::int32_t> keys = std::move(held->second);
        FComputerKeysDown.erase(held);
        for (std::int32_t key : keys) PlayPianoKey(false, key);
        return;
    }
    // A release without a press we saw (the key went down elsewhere): the last press's modifiers.
    PlayPianoKey(false, n + (FCtrlDown ? 1 : 0));
    if (FShiftDown) PlayPianoKey(false, n + 12 + (FCtrlDown ? 1 : 0));
}

// --- key maps -------------------------------------------------------------------------------

std::int32_t TKVPianoKeyboardCore::KeyToNote(std::uint16_t VirtualKey) const
{
    return VirtualKey < PianoVirtualKeyCount ? FKeyToNoteList[VirtualKey] : -1;
}

std::string TKVPianoKeyboardCore::NoteToName(std::int32_t Key) const
{
    return Key >= 0 && Key < static_cast<std::int32_t>(FNoteToNameList.size()) ? FNoteToNameList[Key] : std::string();
}

std::string TKVPianoKeyboardCore::NoteToName2(std::int32_t Key) const
{
    return Key >= 0 && Key < static_cast<std::int32_t>(FNoteToNameList2.size()) ? FNoteToNameList2[Key] : std::string();
}

void TKVPianoKeyboardCore::BuildNotesMap()
{
    const std::int32_t offset = KeyMapOffset();
    FKeyToNoteList.fill(-1);
    for (const TKeyLayoutRec& row : KeyLayout) {
        const auto code = static_cast<std::uint32_t>(row.KeyCode);
        if (code < PianoVirtualKeyCount) FKeyToNoteList[code] = row.KeyNote == -1 ? -1 : row.KeyNote + offset;
    }
    FNoteToNameList.assign(offset + KeyLayoutRows, std::string());
    FNoteToNameList2.assign(offset + KeyLayoutRows, std::string());
    for (const TKeyLayoutRec& row : KeyLayout) {
        if (row.KeyNote < 0 || row.KeyNote >= KeyLayoutRows) continue;
        const std::int32_t index = row.KeyNote + offset;
        if (FNoteToNameList[index].empty())
            FNoteToNameList[index] = KeyNameOf(row);
        else
            FNoteToNameList2[index] = KeyNameOf(row);
    }
    FComputerKeysDown.clear();
    ResetPianoKeys();
}

void TKVPianoKeyboardCore::SetKeyNote(std::int32_t Index, std::int32_t Note)
{
    if (Index < 0 || Index >= KeyLayoutRows) return;
    TKeyLayoutRec& row = KeyLayout[Index];
    row.KeyNote = Note;
    const auto code = static_cast<std::uint32_t>(row.KeyCode);
    if (code < PianoVirtualKeyCount) FKeyToNoteList[code] = Note == -1 ? -1 : Note + KeyMapOffset();
}

void TKVPianoKeyboardCore::SaveToFile(const std::string& FileName)
{
    const std::vector<std::uint8_t> bytes = KeyLayoutToBytes(KeyLayout);
    TFileStream file(FileName, TFileMode::fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    file.Flush();
}

void TKVPianoKeyboardCore::LoadFromFile(const std::string& FileName)
{
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::u8path(FileName), error)) return;
    std::vector<std::uint8_t> bytes(KeyLayoutFileSize);
    std::int64_t read = 0;
    {
        TFileStream file(FileName, TFileMode::fmOpenRead);
        read = file.Read(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    KeyLayout = KeyLayoutFromBytes(bytes.data(), static_cast<std::size_t>(read), FileName);
    // Every row's code, names included, takes the loaded layout: no key keeps a note or a label
    // of the layout before.
    BuildNotesMap();
}

// --- mouse ----------------------------------------------------------------------------------

void TKVPianoKeyboardCore::ReleaseHeldMouseKey()
{
    if (FMouseOldKey == -1) return;
    const std::int32_t key = FMouseOldKey;
    FMouseOldKey = -1;
    PlayPianoKey(false, key);
}

void TKVPianoKeyboardCore::PaintBoxMouseDown(TMouseButton Button, TShiftState, std::int32_t X, std::int32_t Y)
{
    if (Button != mbLeft) return;
    ReleaseHeldMouseKey();
    const TKVPianoGeometry geometry = Geometry();
    const TRect area = geometry.KeysArea();
    if (!PtInRect(area, PointerPosition(X, Y))) return;
    ConfineAndCapture(area);
    FMouseConfined = true;
    const std::int32_t key = geometry.KeyAtPoint(X, Y);
    if (key == -1) return;
    PlayPianoKey(true, key);
    FMouseOldKey = key;
}

void TKVPianoKeyboardCore::PaintBoxMouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y)
{
    if (!PaintBoxHasCapture() || !(Shift & ssLeft) || FMouseOldKey == -1) return;
    const std::int32_t key = Geometry().KeyAtPoint(X, Y);
    if (key == -1 || key == FMouseOldKey) return;
    PlayPianoKey(false, FMouseOldKey);
    PlayPianoKey(true, key);
    FMouseOldKey = key;
}

void TKVPianoKeyboardCore::PaintBoxMouseUp(TMouseButton Button, TShiftState, std::int32_t, std::int32_t)
{
    if (Button != mbLeft) return;
    // Wherever the button comes up, the note the mouse holds ends and the mouse is set free.
    ReleaseHeldMouseKey();
    if (!FMouseConfined) return;
    FMouseConfined = false;
    FreeAndRelease();
}

void TKVPianoKeyboardCore::MouseCaptureLost()
{
    ReleaseHeldMouseKey();
    if (!FMouseConfined) return;
    FMouseConfined = false;
    FreeAndRelease();
}

// --- octave arrows --------------------------------------------------------------------------

void TKVPianoKeyboardCore::OctaveArrowClick(bool Up)
{
    SetPianoOctave(static_cast<std::uint8_t>(Up ? FPianoOctave + 1 : FPianoOctave - 1));
    if (OnOctaveChanged) OnOctaveChanged(FPianoOctave);
}

} // namespace kv
