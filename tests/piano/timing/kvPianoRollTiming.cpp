// Times the piano roll under Wine: paints of large songs (median of 100), moving and deleting
// 1 000 band-selected notes of a 50 000-event track, and the GDI objects held over 1 000 paints.
// Prints figures; asserts nothing (machines are noisy).
#include "gui/win/TApplication.h"
#include "gui/win/TForm.h"
#include "piano/kvPianoRollTestSupport.h"
#include "piano/win/kvPianoRoll.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace kv;

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Notes cycling over 40 pitches, Spacing ticks apart, each Length long, in Tracks tracks.
std::unique_ptr<TKVMidiFile> Song(int Notes, int Spacing, int Length, int Tracks)
{
    std::vector<test::RollNote> notes;
    notes.reserve(static_cast<std::size_t>(Notes));
    for (int i = 0; i < Notes; ++i) notes.push_back({i % Tracks, 40 + i % 40, i * Spacing, i * Spacing + Length});
    auto song = test::MakeRollSong(480, notes, Tracks);
    for (int t = 0; t < song->TrackCount(); ++t) song->GetTrack(t)->SetTrackColor(RGBColor(80 + 40 * t, 160, 240));
    return song;
}

double MedianPaint(TKVPianoRoll& Roll, int Times)
{
    std::vector<double> times;
    for (int i = 0; i < Times; ++i) {
        const double start = Now();
        Roll.PaintBox()->Repaint();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void TimePaint(TForm& Form, const char* What, int Width, int Height, int QuarterWidth, TKVMidiFile& Song,
               std::int32_t Cursor)
{
    auto* roll = new TKVPianoRoll(&Form);
    roll->SetParent(&Form);
    roll->SetBounds(0, 0, Width + 17, Height + 17);
    roll->SetMidiFile(&Song);
    roll->SetQuarterNoteWidth(QuarterWidth);
    roll->SetQuarterNoteHeight(4);
    roll->SetCurrentTime(Cursor);
    Application()->ProcessMessages();
    roll->PaintBox()->Repaint();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const std::uint64_t madeBefore = roll->CachedBmp.Canvas().ObjectsMade();
    const double median = MedianPaint(*roll, 100);
    std::printf("%s: %dx%d, %d events, quarter width %d: median paint %.2f ms over 100\n", What, Width, Height,
                static_cast<int>(roll->MidiEventList().size()), QuarterWidth, median);
    {
        const double start = Now();
        for (int i = 0; i < 20; ++i) roll->PaintPass();
        std::printf("  of which deciding what is lit and visible: %.2f ms\n", (Now() - start) / 20);
    }
    MedianPaint(*roll, 900);
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::printf("  GDI objects before and after 1 000 paints: %lu, %lu\n", static_cast<unsigned long>(gdiBefore),
                static_cast<unsigned long>(gdiAfter));
    // The system's count is 0 under Wine: the image's canvas counts the pens, brushes and fonts it makes.
    std::printf("  pens, brushes and fonts made over those 1 000 paints: %llu\n",
                static_cast<unsigned long long>(roll->CachedBmp.Canvas().ObjectsMade() - madeBefore));
    roll->SetMidiFile(nullptr);
    delete roll;
}

// The roll's core with the pointer where the last mouse event was.
class EditRig : public TKVPianoRollCore {
public:
    void Move(int x, int y) { PaintBoxMouseMove(0, x, y); PaintPass(); }
    void Press(int x, int y) { PaintBoxMouseDown(mbLeft, 0, x, y); PaintPass(); }
    void Release(int x, int y) { PaintBoxMouseUp(mbLeft, 0, x, y); }
};

void TimeEdits()
{
    // 25 000 notes, ten per quarter note, each 400 ticks: 50 000 events in one track.
    for (TPlayMode mode : {pmEdit, pmDelete}) {
        auto song = Song(25000, 48, 400, 1);
        EditRig rig;
        rig.SetPaintBoxSize(1920, 1000);
        rig.SetMidiFile(song.get());
        rig.SetQuarterNoteWidth(16);
        rig.SetPlayMode(mode);
        // A band over the first 100 quarter notes takes the first 1 000 notes.
        const int right = 62 + 100 * 16;
        rig.Move(62, 22);
        rig.Press(62, 22);
        rig.Move(right, 990);
        const std::size_t selected = rig.SelectedNotes().size();
        double elapsed = 0;
        if (mode == pmEdit) {
            rig.Release(right, 990);
            // Grab the first note: the band keeps the others selected.
            const TRect r = rig.GetNoteRect(test::FindNote(*song, 40, 0));
            rig.Move(r.Left + 3, r.Top + 1);
            rig.Press(r.Left + 3, r.Top + 1);
            const double start = Now();
            rig.Release(r.Left + 3 + 16, r.Top + 1 - 8);
            elapsed = Now() - start;
            std::printf("moving %zu selected notes of a %d-event track: %.1f ms\n", selected,
                        song->GetTrack(0)->TrackEventCount(), elapsed);
        } else {
            const int before = song->GetTrack(0)->TrackEventCount();
            const double start = Now();
            rig.Release(right, 990);
            elapsed = Now() - start;
            std::printf("deleting %zu selected notes of a %d-event track: %.1f ms (%d events left)\n", selected, before,
                        elapsed, song->GetTrack(0)->TrackEventCount());
        }
    }
}

} // namespace

int main()
{
    TComponent owner(nullptr);
    auto* form = new TForm(&owner);
    form->SetClientSize(1940, 1020);
    form->SetBounds(0, 0, form->Width(), form->Height());
    form->Show();
    Application()->ProcessMessages();
    {
        auto song = Song(10000, 60, 240, 4); // 20 000 note events
        TimePaint(*form, "small", 1280, 400, 64, *song, 4800);
    }
    {
        auto song = Song(100000, 12, 240, 8); // 200 000 note events
        TimePaint(*form, "large", 1920, 1000, 16, *song, 4800);
    }
    TimeEdits();
    return 0;
}
