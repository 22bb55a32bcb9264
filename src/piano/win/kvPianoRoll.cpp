#include "piano/win/kvPianoRoll.h"

#include "gui/win/TApplication.h"
#include "midi/kvMidiCommon.h"
#include "piano/kvPaintCommonGeometry.h"
#include "piano/kvPaintCommonPixels.h"
#include "piano/win/kvPaintCommon.h"

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

namespace kv {

std::array<TColor, 12> PitchClassColors{};

namespace {

constexpr TColor BackgroundColor = 0x4D4333;
constexpr TColor LaneColor = 0x453B2B;
constexpr TColor QuarterLineColor = 0x3B3121;
constexpr TColor KeyColumnColor = 0x202020;
constexpr TColor StripColor = 0x473D2D;
constexpr TColor CursorColor = 0x00FFFF;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr std::int32_t FramePenWidth = 2 * RollBorder;
constexpr std::int32_t MarkPenWidth = 2;
constexpr std::uint8_t BandShading = 30;
constexpr UINT CornerFormat = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS; // $8011
constexpr UINT KeyLabelFormat = DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS; // $8005
constexpr UINT RulerFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT InfoFormat = DT_CENTER | DT_VCENTER; // 5
constexpr std::int32_t InfoFontHeight = -12;         // 9 points
constexpr std::int32_t KeyLabelFontHeight = -8;      // 6 points
constexpr std::size_t RollCanvasObjectCache = 24;

void FillPitchClassColors()
{
    std::mt19937 random(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> channel(0, 126);
    for (TColor& color : PitchClassColors)
        color = RGBColor(static_cast<std::uint8_t>(127 + channel(random)), static_cast<std::uint8_t>(127 + channel(random)),
                         static_cast<std::uint8_t>(127 + channel(random)));
}

bool IsWhiteKeyRow(std::int32_t Row)
{
    switch (Row % 12) {
    case 0: case 2: case 4: case 6: case 7: case 9: case 11: return true;
    default: return false;
    }
}

// The paint box of the roll: it captures the mouse while a button is held, takes the focus on a
// click so that the wheel reaches it, reports the wheel, a capture taken elsewhere and the pointer
// leaving it, and knows from its own mouse messages whether the pointer is over it.
class TKVRollPaintBox : public TPaintPanel {
public:
    explicit TKVRollPaintBox(TComponent* AOwner) : TPaintPanel(AOwner) {}
    std::string ClassName() const override { return "TPanel"; }
    std::function<void(bool Down)> OnWheel;
    std::function<void()> OnCaptureLost;
    std::function<void()> OnSized;
    std::function<void()> OnPointerLeft;

    bool PointerInside() const { return FPointerInside; }

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (Msg) {
        case WM_MOUSEMOVE:
            PointerCame();
            break;
        case WM_MOUSELEAVE:
            FPointerInside = false;
            if (OnPointerLeft) OnPointerLeft();
            return 0;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_LBUTTONDBLCLK:
            PointerCame();
            SetFocus(Handle());
            if (GetCapture() != Handle()) SetCapture(Handle());
            break;
        case WM_LBUTTONUP: case WM_RBUTTONUP: {
            PointerCame();
            const LRESULT result = TPaintPanel::WndProc(Msg, wParam, lParam);
            if ((wParam & (MK_LBUTTON | MK_RBUTTON)) == 0 && GetCapture() == Handle()) ReleaseCapture();
            return result;
        }
        case WM_MOUSEWHEEL:
            if (OnWheel) OnWheel(GET_WHEEL_DELTA_WPARAM(wParam) < 0);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != Handle() && OnCaptureLost) OnCaptureLost();
            return 0;
        default:
            break;
        }
        return TPaintPanel::WndProc(Msg, wParam, lParam);
    }

protected:
    void BoundsChanged() override
    {
        TPaintPanel::BoundsChanged();
        if (OnSized) OnSized();
    }

private:
    // The system reports the pointer leaving once for each time it is asked to.
    void PointerCame()
    {
        if (FPointerInside) return;
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        FPointerInside = TrackMouseEvent(&track) != FALSE;
    }

    bool FPointerInside = false;
};

// Left of and above every part of the paint box: where the pointer is taken to be when it is not
// over the box.
constexpr TPoint PointerAway{-1, -1};

void DrawVertical(TCanvas& Cnv, const TPoint& P1, const TPoint& P2, const TRect& Area, bool Xor)
{
    TRect r{P1.X, P1.Y, P2.X, P2.Y};
    const std::int32_t penWidth = Cnv.Pen().Width();
    GrowRect(r, penWidth - 1, 0);
    TRect met;
    if (!IntersectRect(met, r, Area)) {
        if (P1.X < Area.Left || P1.X > Area.Right) return;
        if (Xor)
            XorLine(Cnv, P1, P2);
        else
            DrawLine(Cnv.Handle(), P1, P2);
        return;
    }
    // A wide pen: one-pixel lines for every x of its width within the area.
    Cnv.Pen().SetWidth(1);
    for (std::int32_t x = met.Left; x < met.Right; ++x) {
        if (Xor)
            XorLine(Cnv, {x, met.Top}, {x, met.Bottom});
        else
            DrawLine(Cnv.Handle(), {x, met.Top}, {x, met.Bottom});
    }
    Cnv.Pen().SetWidth(penWidth);
}

} // namespace

namespace {

// Writes pixels of a top-down 24- or 32-bit image directly; what lies outside it is skipped.
class TPixelWriter {
public:
    explicit TPixelWriter(TBitmap& Bitmap)
        : FBits(Bitmap.Empty() ? nullptr : Bitmap.ScanLine(0)), FWidth(Bitmap.Width()), FHeight(Bitmap.Height()),
          FBytesPerLine(Bitmap.BytesPerLine()), FBytesPerPixel(Bitmap.PixelFormat() == pf32bit ? 4 : 3)
    {
    }
    void Fill(TRect R, TColor Color)
    {
        TRect image{0, 0, FWidth, FHeight};
        if (FBits == nullptr || !IntersectRect(R, R, image)) return;
        const std::uint32_t pixel = ColorToPixel(Color);
        for (std::int32_t y = R.Top; y < R.Bottom; ++y) {
            std::uint8_t* line = FBits + static_cast<std::ptrdiff_t>(y) * FBytesPerLine;
            if (FBytesPerPixel == 4) {
                std::fill(reinterpret_cast<std::uint32_t*>(line) + R.Left, reinterpret_cast<std::uint32_t*>(line) + R.Right,
                          pixel);
            } else {
                for (std::int32_t x = R.Left; x < R.Right; ++x) {
                    line[3 * x] = static_cast<std::uint8_t>(pixel);
                    line[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
                    line[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
                }
            }
        }
    }
    // The one-pixel border of the points from (L, T) to (R, B), both corners included: what a
    // closed one-pixel polyline through the rectangle's corners draws.
    void Border(const TRect& R, TColor Color)
    {
        Fill({R.Left, R.Top, R.Right + 1, R.Top + 1}, Color);
        Fill({R.Left, R.Bottom, R.Right + 1, R.Bottom + 1}, Color);
        Fill({R.Left, R.Top, R.Left + 1, R.Bottom + 1}, Color);
        Fill({R.Right, R.Top, R.Right + 1, R.Bottom + 1}, Color);
    }

    // One-pixel columns from Top to Bottom (exclusive), each in its colour, a later one over an
    // earlier one at the same x: what a one-pixel line per column draws, written a row at a time.
    void Columns(const std::vector<std::int32_t>& Xs, const std::vector<TColor>& Colors, std::int32_t Top,
                 std::int32_t Bottom)
    {
        if (FBits == nullptr) return;
        std::vector<std::int32_t> xs;
        std::vector<std::uint32_t> shown;
        for (std::size_t i = 0; i < Xs.size(); ++i) {
            if (Xs[i] < 0 || Xs[i] >= FWidth) continue;
            xs.push_back(Xs[i]);
            shown.push_back(ColorToPixel(Colors[i]));
        }
        for (std::int32_t y = std::max(Top, 0); y < std::min(Bottom, FHeight); ++y) {
            std::uint8_t* line = FBits + static_cast<std::ptrdiff_t>(y) * FBytesPerLine;
            if (FBytesPerPixel == 4) {
                auto* pixels = reinterpret_cast<std::uint32_t*>(line);
                for (std::size_t i = 0; i < xs.size(); ++i) pixels[xs[i]] = shown[i];
            } else {
                for (std::size_t i = 0; i < xs.size(); ++i) {
                    std::uint8_t* p = line + 3 * static_cast<std::ptrdiff_t>(xs[i]);
                    p[0] = static_cast<std::uint8_t>(shown[i]);
                    p[1] = static_cast<std::uint8_t>(shown[i] >> 8);
                    p[2] = static_cast<std::uint8_t>(shown[i] >> 16);
                }
            }
        }
    }

private:
    std::uint8_t* FBits;
    std::int32_t FWidth, FHeight, FBytesPerLine, FBytesPerPixel;
};

} // namespace

void PaintRollNotes(TBitmap& Bmp, const std::vector<TKVRollNote>& Notes, const std::vector<TColor>& Colors,
                    const TRect& Area)
{
    // Equal to filling each note's part inside the area through a scratch bitmap with a brush of
    // its colour, then outlining the edges the area does not cut with the canvas's pen; written
    // straight into the image, as thousands of notes would take thousands of drawing calls.
    TCanvas& cnv = Bmp.Canvas();
    const TPen& pen = cnv.Pen();
    const bool plainPen = pen.Width() <= 1 && pen.Style() == psSolid && pen.Mode() == pmCopy;
    TPixelWriter pixels(Bmp);
    for (std::size_t i = 0; i < Notes.size(); ++i) {
        const TRect& r = Notes[i].Rect;
        TRect shown;
        if (!IntersectRect(shown, r, Area)) continue;
        pixels.Fill(shown, Colors[i]);
        if (shown == r && plainPen) {
            pixels.Border(r, pen.Color());
        } else {
            ClippedFrameRect(cnv, r, Area, 0, 0, 0, 0, 0, true);
            GdiFlush();
        }
    }
}

void VerticalLine(TCanvas& Cnv, const TPoint& P1, const TPoint& P2, const TRect& Area)
{
    DrawVertical(Cnv, P1, P2, Area, false);
}

void VerticalXorLine(TCanvas& Cnv, const TPoint& P1, const TPoint& P2, const TRect& Area)
{
    DrawVertical(Cnv, P1, P2, Area, true);
}

void PaintRollGrid(TBitmap& Bmp, const TKVPianoRollGeometry& G)
{
    const TRect area = G.NotesRect();
    const std::int32_t firstRow = G.VertPosition, lastRow = G.LastVisibleRow(false);
    if (lastRow < firstRow) return;
    TCanvas& cnv = Bmp.Canvas();
    cnv.Pen().SetWidth(1);
    cnv.Pen().SetColor(LaneColor);
    // Equal to outlining each lane with a one-pixel pen and drawing each line with one, written
    // straight into the image: a thousand lines would take a thousand drawing calls.
    TPixelWriter pixels(Bmp);
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        const TRect lane = G.RowRect(false, row);
        if (!IsRectEmpty(lane)) pixels.Border(lane, LaneColor);
    }
    // Lanes lie edge to edge and each one's lines cover it from its top to its bottom, so one line
    // from the first lane's top to the last lane's bottom paints the same pixels as a line per lane.
    const TRect first = G.RowRect(false, firstRow), last = G.RowRect(false, lastRow);
    const double quarters = static_cast<double>(RectWidth(area)) / G.QuarterNoteWidth;
    const std::int32_t lines = static_cast<std::int32_t>(std::ceil(quarters)) * 8 + 1;
    std::vector<std::int32_t> xs;
    std::vector<TColor> colors;
    for (std::int32_t i = 1; i <= lines; ++i) {
        const std::int32_t x = first.Left + (i * G.QuarterNoteWidth) / 8;
        // A line lies within the area's left and right edges, both included.
        if (x < area.Left || x > area.Right) continue;
        xs.push_back(x);
        colors.push_back(i % 8 == 0 ? QuarterLineColor : LaneColor);
    }
    pixels.Columns(xs, colors, first.Top, last.Bottom);
    // The pen as the last line left it.
    cnv.Pen().SetColor(lines % 8 == 0 ? QuarterLineColor : LaneColor);
}

TKVPianoRoll::TKVPianoRoll(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 500, 300);
    auto* paintBox = new TKVRollPaintBox(this);
    FPaintBox = paintBox;
    FPaintBox->SetName("PaintBox");
    FPaintBox->SetParent(this);
    FPaintBox->SetBounds(0, 0, 483, 283);
    FPaintBox->SetAnchors(akLeft | akTop | akRight | akBottom);
    FPaintBox->OnPaint = [this](TObject*) { PaintBoxPaint(); };
    FPaintBox->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) {
        SyncPaintBoxSize();
        PaintBoxMouseDown(b, s, x, y);
    };
    FPaintBox->OnMouseMove = [this](TObject*, TShiftState s, std::int32_t x, std::int32_t y) {
        SyncPaintBoxSize();
        PaintBoxMouseMove(s, x, y);
    };
    FPaintBox->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) {
        SyncPaintBoxSize();
        PaintBoxMouseUp(b, s, x, y);
    };
    FPaintBox->OnDblClick = [this](TObject*) { PaintBoxDblClick(); };
    paintBox->OnWheel = [this](bool Down) { MouseWheel(Down); };
    paintBox->OnCaptureLost = [this] { MouseCaptureLost(); };
    paintBox->OnSized = [this] { SyncPaintBoxSize(); };
    paintBox->OnPointerLeft = [this] { InvalidateRoll(); };

    FVertScrollBar = new TScrollBar(this);
    FVertScrollBar->SetName("VertScrollBar");
    FVertScrollBar->SetKind(sbVertical);
    FVertScrollBar->SetParent(this);
    FVertScrollBar->SetBounds(483, 0, RollScrollBarSize, 223);
    FVertScrollBar->SetAnchors(akTop | akRight | akBottom);
    FVertScrollBar->SetSmallChange(1);
    FVertScrollBar->SetLargeChange(4);

    FHorzScrollBar = new TScrollBar(this);
    FHorzScrollBar->SetName("HorzScrollBar");
    FHorzScrollBar->SetParent(this);
    FHorzScrollBar->SetBounds(0, 283, 423, RollScrollBarSize);
    FHorzScrollBar->SetAnchors(akLeft | akRight | akBottom);
    FHorzScrollBar->SetSmallChange(1);
    FHorzScrollBar->SetLargeChange(4);
    const auto scrolled = [this](TObject* Sender, std::int32_t Position) {
        ScrollBarScrolled(Sender == FVertScrollBar, Position);
    };
    FVertScrollBar->OnScroll = scrolled;
    FHorzScrollBar->OnScroll = scrolled;

    FResetButton = new TSpeedButton(this);
    FResetButton->SetName("ResetButton");
    FResetButton->SetParent(this);
    FResetButton->SetBounds(483, 283, RollScrollBarSize, RollScrollBarSize);
    FResetButton->SetAnchors(akRight | akBottom);
    FResetButton->SetHint("RESET");
    FResetButton->SetShowHint(true);
    FResetButton->OnClick = [this](TObject*) { ResetZoom(); };

    FVertTrackBar = new TTrackBar(this);
    FVertTrackBar->SetName("VertTrackBar");
    FVertTrackBar->SetOrientation(trVertical);
    FVertTrackBar->SetParent(this);
    FVertTrackBar->SetBounds(483, 223, RollScrollBarSize, 60);
    FVertTrackBar->SetAnchors(akRight | akBottom);
    FVertTrackBar->SetRange(RollMinQuarterHeight, RollMaxQuarterHeight);
    FVertTrackBar->SetFrequency(2);
    FVertTrackBar->SetThumbLength(10);
    FVertTrackBar->SetTabStop(false);
    FVertTrackBar->SetPosition(QuarterNoteHeight());

    FHorzTrackBar = new TTrackBar(this);
    FHorzTrackBar->SetName("HorzTrackBar");
    FHorzTrackBar->SetParent(this);
    FHorzTrackBar->SetBounds(423, 283, 60, RollScrollBarSize);
    FHorzTrackBar->SetAnchors(akRight | akBottom);
    FHorzTrackBar->SetRange(RollMinQuarterWidth, RollMaxQuarterWidth);
    FHorzTrackBar->SetFrequency(RollDefaultQuarterWidth / 2);
    FHorzTrackBar->SetThumbLength(10);
    FHorzTrackBar->SetTabStop(false);
    FHorzTrackBar->SetPosition(QuarterNoteWidth());
    const auto zoomed = [this](TObject* Sender) {
        if (Sender != FVertTrackBar)
            SetQuarterNoteWidth(FHorzTrackBar->Position());
        else
            SetQuarterNoteHeight(FVertTrackBar->Position());
    };
    FVertTrackBar->OnChange = zoomed;
    FHorzTrackBar->OnChange = zoomed;

    ScrollBarsChanged();
    SyncPaintBoxSize();
    CachedBmp.Canvas().Font().Assign(Font());
    // A paint goes through a dozen pens, brushes and fonts, the same ones each time.
    CachedBmp.Canvas().SetObjectCacheSize(RollCanvasObjectCache);
    FillPitchClassColors();
}

TKVPianoRoll::~TKVPianoRoll()
{
    try {
        ReleaseSoundingNotes();
    } catch (...) {
        // The owner's handler failed while the roll goes away: nothing is left to tell.
    }
    // The children outlive this part of the object: nothing of theirs may call back into it.
    FPaintBox->OnPaint = nullptr;
    FPaintBox->OnMouseDown = nullptr;
    FPaintBox->OnMouseMove = nullptr;
    FPaintBox->OnMouseUp = nullptr;
    FPaintBox->OnDblClick = nullptr;
    auto* paintBox = static_cast<TKVRollPaintBox*>(FPaintBox);
    paintBox->OnWheel = nullptr;
    paintBox->OnCaptureLost = nullptr;
    paintBox->OnSized = nullptr;
    paintBox->OnPointerLeft = nullptr;
    FVertScrollBar->OnScroll = nullptr;
    FHorzScrollBar->OnScroll = nullptr;
    FVertTrackBar->OnChange = nullptr;
    FHorzTrackBar->OnChange = nullptr;
    FResetButton->OnClick = nullptr;
    ClipCursor(nullptr);
    if (PaintBoxHasCapture()) ReleaseCapture();
}

LRESULT TKVPianoRoll::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    // Hidden, the roll paints no more: whatever it sounds is ended now.
    if (Msg == WM_SHOWWINDOW && wParam == FALSE) ReleaseSoundingNotes();
    return TWinControl::WndProc(Msg, wParam, lParam);
}

// --- hooks ----------------------------------------------------------------------------------

void TKVPianoRoll::SyncPaintBoxSize()
{
    if (FPaintBox) SetPaintBoxSize(FPaintBox->Width(), FPaintBox->Height());
}

void TKVPianoRoll::InvalidateRoll()
{
    if (FPaintBox) FPaintBox->Invalidate();
}

TPoint TKVPianoRoll::PointerPosition() const
{
    // Where the box's own mouse messages last put the pointer. Asking the system instead costs a
    // round trip to the display server on some systems, and the roll paints with every tick of a
    // playing song: the tick after it would wait for it.
    const bool over = static_cast<const TKVRollPaintBox*>(FPaintBox)->PointerInside() || PaintBoxHasCapture();
    return over ? TKVPianoRollCore::PointerPosition() : PointerAway;
}

void TKVPianoRoll::ConfineAndCapture(const TRect& NotesArea)
{
    const TPoint topLeft = FPaintBox->ClientToScreen({NotesArea.Left, NotesArea.Top});
    const TPoint bottomRight = FPaintBox->ClientToScreen({NotesArea.Right, NotesArea.Bottom});
    const RECT clip{topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
    ClipCursor(&clip);
    if (GetCapture() != FPaintBox->Handle()) SetCapture(FPaintBox->Handle());
}

void TKVPianoRoll::FreeAndRelease()
{
    ClipCursor(nullptr);
}

bool TKVPianoRoll::PaintBoxHasCapture() const
{
    return FPaintBox->HandleAllocated() && GetCapture() == FPaintBox->Handle();
}

void TKVPianoRoll::ScrollBarsChanged()
{
    if (FHorzScrollBar) {
        FHorzScrollBar->SetRange(0, HorzMax());
        FHorzScrollBar->SetPosition(HorzPosition());
    }
    if (FVertScrollBar) {
        FVertScrollBar->SetRange(0, VertMax());
        FVertScrollBar->SetPosition(VertPosition());
    }
}

void TKVPianoRoll::ZoomChanged()
{
    if (FHorzTrackBar) FHorzTrackBar->SetPosition(QuarterNoteWidth());
    if (FVertTrackBar) FVertTrackBar->SetPosition(QuarterNoteHeight());
}

void TKVPianoRoll::PointerShapeChanged()
{
    switch (PointerShape()) {
    case rpSizeWE: FPaintBox->SetCursor(crSizeWE); break;
    case rpHand: FPaintBox->SetCursor(crHandPoint); break;
    default: FPaintBox->SetCursor(crDefault); break;
    }
}

// --- painting -------------------------------------------------------------------------------

TColor TKVPianoRoll::NoteColor(const TKVRollNote& Note) const
{
    // The track the note names, or the one holding it when the song has no such track.
    const TMyMidiTrack* track = MidiFile()->GetTrack(Note.On->Track());
    if (track == nullptr) track = MidiFile()->GetTrack(Note.TrackIndex);
    return track != nullptr ? track->TrackColor() : clWhite;
}

void TKVPianoRoll::PaintBoxPaint()
{
    SyncPaintBoxSize();
    // What the paint decides (lit notes, hover and band selection) comes before the drawing.
    const std::vector<TKVRollNote> notes = PaintPass();
    const TKVPianoRollGeometry g = Geometry();
    CachedBmp.SetSize(g.Width, g.Height);
    if (CachedBmp.Empty()) return;
    TCanvas& cnv = CachedBmp.Canvas();

    SetBkMode(cnv.Handle(), TRANSPARENT);
    SavePaintState(cnv);
    cnv.Brush().SetColor(BackgroundColor);
    cnv.Brush().SetStyle(bsSolid);
    cnv.FillRect(g.PaintBoxRect());
    RestorePaintState(cnv);
    PaintKeyColumn(cnv, g);
    RestorePaintState(cnv);
    PaintRuler(cnv, g);
    RestorePaintState(cnv);
    PaintInfo(cnv, g);
    RestorePaintState(cnv);
    PaintNotes(cnv, g, notes);
    cnv.Pen().SetColor(clBlack);
    cnv.Pen().SetWidth(FramePenWidth);
    FrameRectEx(cnv, g.PaintBoxRect(), 0, 0, 0, 0, 0);
    if (PlayMode() != pmPlay) {
        RestorePaintState(cnv);
        PaintBand(cnv);
        RestorePaintState(cnv);
        PaintSelection(cnv, g);
    }
    RestorePaintState(cnv);
    PaintIndications(cnv, g);
    RestorePaintState(cnv);
    FPaintBox->Canvas().Draw(0, 0, CachedBmp);
}

void TKVPianoRoll::PaintKeyColumn(TCanvas& Cnv, const TKVPianoRollGeometry& G)
{
    const TRect column = G.KeyColumnRect();
    Cnv.Brush().SetColor(KeyColumnColor);
    Cnv.Brush().SetStyle(bsSolid);
    Cnv.FillRect(column);

    StoreCanvasState(Cnv, nullptr);
    Cnv.Font().SetColor(clWhite);
    Cnv.Font().SetBold(true);
    DrawTextCentered(Cnv.Handle(), "Tavrona", {column.Left, column.Top, column.Right, G.RulerRect().Bottom}, true,
                     CornerFormat);
    ApplyCanvasState(Cnv, nullptr);

    for (std::int32_t row = G.VertPosition; row <= G.LastVisibleRow(true); ++row) {
        const TRect lane = G.RowRect(true, row);
        const std::int32_t half = lane.Right / 2;
        if (IsWhiteKeyRow(row)) {
            Cnv.Brush().SetColor(clWhite);
            Cnv.FillRect({lane.Left, lane.Top, lane.Right, lane.Bottom - 1});
            if (row % 12 == 11) {
                StoreCanvasState(Cnv, nullptr);
                Cnv.Font().SetName("Terminal");
                Cnv.Font().SetHeight(KeyLabelFontHeight);
                Cnv.Font().SetColor(InvertColor(PitchClassColors[11]));
                DrawTextTopCentered(Cnv.Handle(), NoteToName(static_cast<std::uint8_t>(RollLastRow - row)),
                                    {half, lane.Top - 1, lane.Right, lane.Bottom - 1}, true, KeyLabelFormat);
                ApplyCanvasState(Cnv, nullptr);
            }
        } else {
            StoreCanvasState(Cnv, nullptr);
            const TRect black{lane.Left + 1, lane.Top - 1, half, lane.Bottom + 1};
            Cnv.Brush().SetColor(clBlack);
            Cnv.FillRect(black);
            Cnv.Pen().SetColor(clWhite);
            FrameRectEx(Cnv, black, 0, 0, 0, 0, 0);
            const TRect white{half, lane.Top - 1, lane.Right, lane.Bottom + 1};
            Cnv.Brush().SetColor(clWhite);
            Cnv.FillRect(white);
            Cnv.Pen().SetColor(clBlack);
            const std::int32_t y = white.Top + RectHalfHeight(white);
            CanvasLine(Cnv, {white.Left, y}, {white.Right, y});
            ApplyCanvasState(Cnv, nullptr);
        }
    }
    RestorePaintState(Cnv);
    FrameRectEx(Cnv, column, 0, 0, 0, 0, 0);
}

void TKVPianoRoll::PaintRuler(TCanvas& Cnv, const TKVPianoRollGeometry& G)
{
    const TRect ruler = G.RulerRect();
    Cnv.Brush().SetColor(StripColor);
    Cnv.Brush().SetStyle(bsSolid);
    Cnv.FillRect(ruler);
    StoreCanvasState(Cnv, nullptr);
    const std::int32_t width = RectWidth(ruler);
    for (std::int32_t i = G.QuarterNoteWidth; i <= width; i += G.QuarterNoteWidth) {
        Cnv.Pen().SetColor(clWhite);
        Cnv.Pen().SetWidth(1);
        Cnv.Font().SetColor(clWhite);
        Cnv.Font().SetBold(false);
        const std::int32_t tick = RollRulerHeight - Cnv.TextHeight("1234567890");
        const std::string label = std::to_string(i / G.QuarterNoteWidth + G.HorzPosition);
        const SIZE size = Cnv.TextExtent(label);
        const std::int32_t x = ruler.Left + i - size.cx / 2;
        TRect box;
        IntersectRect(box, {x, ruler.Bottom - size.cy - 1, x + size.cx, ruler.Bottom}, ruler);
        DrawTextCentered(Cnv.Handle(), label, box, true, RulerFormat);
        VerticalLine(Cnv, {ruler.Left + i, ruler.Top}, {ruler.Left + i, ruler.Top + tick}, ruler);
    }
    ApplyCanvasState(Cnv, nullptr);
    const TPoint p = PointerPosition();
    if (PtInRect(G.NotesRect(), p) || PtInRect(ruler, p)) {
        Cnv.Pen().SetColor(CursorColor);
        Cnv.Pen().SetWidth(1);
        VerticalXorLine(Cnv, {p.X, ruler.Top}, {p.X, ruler.Bottom}, ruler);
    }
}

void TKVPianoRoll::PaintInfo(TCanvas& Cnv, const TKVPianoRollGeometry& G)
{
    const TRect info = G.InfoRect();
    Cnv.Brush().SetColor(StripColor);
    Cnv.Brush().SetStyle(bsSolid);
    Cnv.FillRect(info);
    Cnv.Font().SetName(Font().Name());
    Cnv.Font().SetColor(clWhite);
    Cnv.Font().SetHeight(InfoFontHeight);
    DrawTextCentered(Cnv.Handle(), InfoText(), info, true, InfoFormat);
}

void TKVPianoRoll::PaintNotes(TCanvas& Cnv, const TKVPianoRollGeometry& G, const std::vector<TKVRollNote>& Notes)
{
    StoreCanvasState(Cnv, nullptr);
    const TRect area = G.NotesRect();
    if (IsRectEmpty(area)) return;
    ApplyCanvasState(Cnv, nullptr);
    Cnv.Brush().SetColor(BackgroundColor);
    Cnv.Brush().SetStyle(bsSolid);
    Cnv.FillRect(area);
    PaintRollGrid(CachedBmp, G);

    ApplyCanvasState(Cnv, nullptr);
    std::vector<TColor> colors;
    colors.reserve(Notes.size());
    for (const TKVRollNote& note : Notes) colors.push_back(NoteColor(note));
    PaintRollNotes(CachedBmp, Notes, colors, area);

    ApplyCanvasState(Cnv, nullptr);
    const std::int64_t x = G.CursorX(CurrentTime());
    if (x >= area.Left && x < area.Right) {
        Cnv.Pen().SetColor(CursorColor);
        Cnv.Pen().SetWidth(1);
        const auto cx = static_cast<std::int32_t>(x);
        VerticalXorLine(Cnv, {cx, area.Top}, {cx, area.Bottom}, area);
    }
}

void TKVPianoRoll::PaintBand(TCanvas& Cnv)
{
    const TRect band = SelectMouseRect();
    if (IsRectEmpty(band)) return;
    Cnv.Pen().SetColor(clHighlight);
    FrameRectEx(Cnv, band, 0, 0, 0, 0, MarkPenWidth);
    BlendRect(CachedBmp, band, clHighlight, BandShading);
}

void TKVPianoRoll::PaintSelection(TCanvas& Cnv, const TKVPianoRollGeometry& G)
{
    for (TKVMidiEvent* note : SelectedNotes()) {
        const TRect r = GetNoteRect(note);
        ApplyCanvasState(Cnv, nullptr);
        Cnv.Pen().SetColor(clWhite);
        ClippedFrameRect(Cnv, r, G.NotesRect(), 0, 0, 0, 0, MarkPenWidth, false);
    }
}

void TKVPianoRoll::PaintIndications(TCanvas& Cnv, const TKVPianoRollGeometry& G)
{
    for (TKVMidiEvent* note : LitNotes()) {
        const TRect r = GetNoteRect(note);
        ApplyCanvasState(Cnv, nullptr);
        Cnv.Pen().SetColor(CursorColor);
        Cnv.Brush().SetStyle(bsClear);
        ClippedFrameRect(Cnv, r, G.NotesRect(), 0, 0, 0, 0, MarkPenWidth, false);
    }
}

} // namespace kv
