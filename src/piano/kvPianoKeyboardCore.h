#pragma once
// Everything the on-screen piano decides without a window: its settings, the key maps built from
// the layout table, which keys are lit and in what colour, the notes that MIDI messages, the
// mouse and computer keys turn into, and the octave arrows. TKVPianoKeyboard adds the window,
// the painting and the system calls through the protected hooks.
//
// Key numbers: the MIDI note in fixed mode (21..108); in free mode the offset from the first
// shown C, key k standing for note 12 x PianoOctave + k.
#include "base/TObject.h"
#include "gui/TColor.h"
#include "base/TCriticalSection.h"
#include "gui/TShiftState.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiEventTypes.h"
#include "piano/kvPianoGeometry.h"
#include "piano/kvPianoKeyboardEvents.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kv {

constexpr int PianoKeyCount = 222;       // key numbers 0..221 can be lit
constexpr int PianoVirtualKeyCount = 222; // the key map covers virtual-key codes 0..221
constexpr TColor PianoDefaultColor = 0x7DBDFF;

class TKVPianoKeyboardCore {
public:
    TKVPianoKeyboardCore();
    virtual ~TKVPianoKeyboardCore() = default;
    TKVPianoKeyboardCore(const TKVPianoKeyboardCore&) = delete;
    TKVPianoKeyboardCore& operator=(const TKVPianoKeyboardCore&) = delete;

    // Settings.
    std::uint16_t PianoKeyWidth() const { return FPianoKeyWidth; }
    void SetPianoKeyWidth(std::uint16_t Value);
    std::uint16_t PianoKeyHeight() const { return FPianoKeyHeight; }
    void SetPianoKeyHeight(std::uint16_t Value);
    TKVKeyboardLabel PianoLable() const { return FPianoLabel; }
    void SetPianoLable(TKVKeyboardLabel Value);
    bool PianoFixed() const { return FPianoFixed; }
    void SetPianoFixed(bool Value);
    std::int32_t PianoGroup() const { return FPianoGroup; }
    void SetPianoGroup(std::int32_t Value);
    std::uint8_t PianoOctave() const { return FPianoOctave; }
    void SetPianoOctave(std::uint8_t Value);
    TColor PianoColor() const { return FPianoColor; }
    void SetPianoColor(TColor Value);
    std::uint8_t PianoIntensity() const { return FPianoIntensity; }
    void SetPianoIntensity(std::uint8_t Value) { FPianoIntensity = Value; }

    TOnKeyboard OnKeyboard;
    TOnMidiEvent OnMidiEvent; // declared for the form; never raised
    TOnOctaveChanged OnOctaveChanged;
    TOnGroupChaned OnGroupChanged;
    TOnDebug OnDebug; // declared for the form; never raised

    // The geometry of the current settings over the paint box's width.
    TKVPianoGeometry Geometry() const;

    // Pressed keys. Keys above 221 are ignored. Safe from any thread.
    void PressPianoKey(std::uint8_t Key, TColor AColor);
    void ReleasePianoKey(std::uint8_t Key);
    void ResetPianoKeys();
    void BuildColorMap();
    bool KeyPressed(std::uint8_t Key, TColor* Color = nullptr);
    std::vector<std::uint8_t> PressedKeys();

    // A short MIDI message shown on the keys (channel ignored): note on lights, note off or
    // velocity 0 releases, controller 123 releases all.
    void DoMidiShort(std::uint8_t Event, std::uint8_t data1, std::uint8_t data2, TColor AColor);
    void DoMidiShort(std::uint8_t Event, std::uint8_t data1, std::uint8_t data2);
    // A key played on the piano itself: lit (or released) and reported through OnKeyboard.
    // Keys that are not shown or that would sound a note above 127 play nothing.
    void PlayPianoKey(bool Down, std::int32_t Key);

    // Computer keys, through the key map. Ctrl raises the note a semitone, Shift adds the note an
    // octave higher. A key's release releases exactly what its presses played.
    void DoPianoKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void DoPianoKeyUp(TObject* Sender, std::uint16_t& Key, TShiftState Shift);

    // The key maps. Layout notes are relative to the base of the mode: the map holds
    // KeyNote + 24 in fixed mode and KeyNote in free mode, on every path.
    void BuildNotesMap();
    void SetKeyNote(std::int32_t Index, std::int32_t Note);
    void SaveToFile(const std::string& FileName);
    // A missing file changes nothing; a file that is no layout raises EKeyLayoutError and
    // changes nothing.
    void LoadFromFile(const std::string& FileName);
    std::int32_t KeyToNote(std::uint16_t VirtualKey) const;
    std::string NoteToName(std::int32_t Key) const;
    std::string NoteToName2(std::int32_t Key) const;

    // Mouse on the paint box (paint-box coordinates).
    void PaintBoxMouseDown(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    void PaintBoxMouseMove(TShiftState Shift, std::int32_t X, std::int32_t Y);
    void PaintBoxMouseUp(TMouseButton Button, TShiftState Shift, std::int32_t X, std::int32_t Y);
    // The capture went elsewhere: the held key is released and the cursor set free.
    void MouseCaptureLost();
    std::int32_t MouseOldKey() const { return FMouseOldKey; }

    // The octave arrows.
    void OctaveArrowClick(bool Up);

    void Test() {}

protected:
    // Hooks for the window. Invalidate may be called from any thread.
    virtual void InvalidateKeys() {}
    virtual void RepaintKeys() { InvalidateKeys(); }
    virtual void KeyboardSizeChanged() {}
    virtual void ArrowsVisibleChanged(bool /*Visible*/) {}
    virtual std::int32_t PaintBoxWidth() const { return Geometry0().ControlWidth(); }
    // The pointer's position in paint-box coordinates when a button went down.
    virtual TPoint PointerPosition(std::int32_t X, std::int32_t Y) const { return {X, Y}; }
    virtual void ConfineAndCapture(const TRect& /*KeysArea*/) {}
    virtual void FreeAndRelease() {}
    virtual bool PaintBoxHasCapture() const { return FMouseConfined; }

    void UpdateKeyboardSize() { KeyboardSizeChanged(); }

    // Guards FKeysList and FColorList; painting takes it too.
    TCriticalSection FCriticalSection;
    std::vector<std::uint8_t> FKeysList;        // pressed keys in the order pressed
    std::array<TColor, PianoKeyCount> FColorList{}; // colour of each pressed key

private:
    TKVPianoGeometry Geometry0() const; // without the paint box
    std::int32_t KeyMapOffset() const { return FPianoFixed ? 24 : 0; }
    void PlayComputerKey(std::uint16_t VirtualKey, std::int32_t Key);
    void ReleaseHeldMouseKey();

    bool FCtrlDown = false;
    bool FShiftDown = false;
    std::int32_t FMouseOldKey = -1;
    bool FMouseConfined = false;
    std::uint16_t FPianoKeyWidth = 22;
    std::uint16_t FPianoKeyHeight = 100;
    TKVKeyboardLabel FPianoLabel = klNone;
    bool FPianoFixed = false;
    std::int32_t FPianoGroup = 6;
    TColor FPianoColor = PianoDefaultColor;
    std::uint8_t FPianoOctave = 2;
    std::uint8_t FPianoIntensity = 80;

    std::array<std::int32_t, PianoVirtualKeyCount> FKeyToNoteList{};
    std::vector<std::string> FNoteToNameList;
    std::vector<std::string> FNoteToNameList2;
    // Keys each held computer key sounded, so its release lets go of exactly those.
    std::map<std::uint16_t, std::vector<std::int32_t>> FComputerKeysDown;
};

} // namespace kv
