#include "piano/win/kvPianoKeyboard.h"

#include "midi/kvMidiCommon.h"
#include "piano/kvPaintCommonGeometry.h"
#include "piano/win/kvPaintCommon.h"

#include <algorithm>
#include <mutex>

namespace kv {

const std::array<std::string, 11> OctaveNames{"C0-B0", "C1-B1", "C2-B2", "C3-B3", "C4-B4", "C5-B5",
                                              "C6-B6", "C7-B7", "C8-B8", "C9-B9", "C10-B10"};

namespace {

constexpr TColor BackgroundColor = 0x202020;
constexpr TColor BlackKeyFrameColor = 0xA3A3A3;
constexpr TColor OutlineColor = 0x7DBDFF;
constexpr UINT CentreFormat = DT_CENTER | DT_VCENTER; // 5
constexpr std::int32_t WhiteLabelOffset = 75;
constexpr std::int32_t BlackLabelOffset = 41;

// The Part's own paint box class: a paint surface that also reports a lost mouse capture.
class TKVPianoPaintBox : public TPaintPanel {
public:
    explicit TKVPianoPaintBox(TComponent* AOwner) : TPaintPanel(AOwner) {}
    std::string ClassName() const override { return "TPanel"; }
    std::function<void()> OnCaptureLost;

protected:
    void CaptureChanged() override
    {
        if (OnCaptureLost) OnCaptureLost();
    }
};

} // namespace

TKVPianoKeyboard::TKVPianoKeyboard(TComponent* AOwner) : TWinControl(AOwner)
{
    UpdateKeyboardSize();

    auto* paintBox = new TKVPianoPaintBox(this);
    FPaintBox = paintBox;
    FPaintBox->SetName("PaintBox");
    FPaintBox->SetParent(this);
    FPaintBox->SetBounds(0, 0, Width(), Height());
    FPaintBox->SetAnchors(akLeft | akTop | akRight | akBottom);
    FPaintBox->OnPaint = [this](TObject*) { PaintBoxPaint(); };
    FPaintBox->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) {
        PaintBoxMouseDown(b, s, x, y);
    };
    FPaintBox->OnMouseMove = [this](TObject*, TShiftState s, std::int32_t x, std::int32_t y) { PaintBoxMouseMove(s, x, y); };
    FPaintBox->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) {
        PaintBoxMouseUp(b, s, x, y);
    };
    FPaintBox->OnClick = [](TObject*) {};
    paintBox->OnCaptureLost = [this] { MouseCaptureLost(); };

    FScrollBtnL = MakeArrow("ButtonL", "3", false);
    FScrollBtnL->SetBounds(PianoSideMargin, PianoTopMargin, PianoArrowSize, PianoArrowSize);
    FScrollBtnL->SetAnchors(akLeft | akTop);
    FScrollBtnR = MakeArrow("ButtonR", "4", true);
    FScrollBtnR->SetBounds(Width() - PianoSideMargin - PianoArrowSize, PianoTopMargin, PianoArrowSize, PianoArrowSize);
    FScrollBtnR->SetAnchors(akTop | akRight);

    CachedBmp.Canvas().Font().Assign(Font());
}

TKVPianoKeyboard::~TKVPianoKeyboard()
{
    // The children outlive this part of the object: nothing of theirs may call back into it.
    FPaintBox->OnPaint = nullptr;
    FPaintBox->OnMouseDown = nullptr;
    FPaintBox->OnMouseMove = nullptr;
    FPaintBox->OnMouseUp = nullptr;
    static_cast<TKVPianoPaintBox*>(FPaintBox)->OnCaptureLost = nullptr;
    FScrollBtnL->OnClick = nullptr;
    FScrollBtnR->OnClick = nullptr;
    if (PaintBoxHasCapture()) FreeAndRelease();
}

TSpeedButton* TKVPianoKeyboard::MakeArrow(const std::string& Name, const std::string& Caption, bool Up)
{
    auto* button = new TSpeedButton(this);
    button->SetName(Name);
    button->SetParent(FPaintBox);
    button->SetFlat(true);
    button->SetCaption(Caption);
    button->SetColor(BackgroundColor);
    button->Font().SetName("Webdings");
    button->Font().SetCharset(SymbolCharset);
    button->Font().SetColor(clWhite);
    button->Font().SetHeight(-16);
    button->OnClick = [this, Up](TObject*) { OctaveArrowClick(Up); };
    return button;
}

// --- hooks ----------------------------------------------------------------------------------

void TKVPianoKeyboard::InvalidateKeys()
{
    if (FPaintBox) FPaintBox->Invalidate();
}

void TKVPianoKeyboard::KeyboardSizeChanged()
{
    const TKVPianoGeometry geometry = Geometry();
    SetBounds(Left(), Top(), geometry.ControlWidth(), geometry.ControlHeight());
}

void TKVPianoKeyboard::ArrowsVisibleChanged(bool Visible)
{
    if (FScrollBtnL) FScrollBtnL->SetVisible(Visible);
    if (FScrollBtnR) FScrollBtnR->SetVisible(Visible);
}

std::int32_t TKVPianoKeyboard::PaintBoxWidth() const
{
    return FPaintBox ? FPaintBox->Width() : TKVPianoKeyboardCore::PaintBoxWidth();
}

TPoint TKVPianoKeyboard::PointerPosition(std::int32_t, std::int32_t) const
{
    POINT p;
    GetCursorPos(&p);
    return FPaintBox->ScreenToClient({p.x, p.y});
}

void TKVPianoKeyboard::ConfineAndCapture(const TRect& KeysArea)
{
    const TPoint topLeft = FPaintBox->ClientToScreen({KeysArea.Left, KeysArea.Top});
    const TPoint bottomRight = FPaintBox->ClientToScreen({KeysArea.Right, KeysArea.Bottom});
    const RECT clip{topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
    ClipCursor(&clip);
    SetCapture(FPaintBox->Handle());
}

void TKVPianoKeyboard::FreeAndRelease()
{
    ClipCursor(nullptr);
    if (GetCapture() == FPaintBox->Handle()) ReleaseCapture();
}

bool TKVPianoKeyboard::PaintBoxHasCapture() const
{
    return FPaintBox->HandleAllocated() && GetCapture() == FPaintBox->Handle();
}

// --- painting -------------------------------------------------------------------------------

void TKVPianoKeyboard::PaintBoxPaint()
{
    const std::int32_t width = FPaintBox->Width(), height = FPaintBox->Height();
    CachedBmp.SetSize(width, height);
    if (CachedBmp.Empty()) return;
    TCanvas& cnv = CachedBmp.Canvas();
    const TKVPianoGeometry geometry = Geometry();
    const TRect whole{0, -1, width, height};

    SetBkMode(cnv.Handle(), TRANSPARENT);
    SavePaintState(cnv);
    cnv.Brush().SetColor(BackgroundColor);
    cnv.Brush().SetStyle(bsSolid);
    cnv.FillRect(whole);
    RestorePaintState(cnv);

    PaintStrip(cnv, geometry);
    PaintKeys(cnv, geometry);

    cnv.Pen().SetColor(OutlineColor);
    cnv.Pen().SetWidth(2 * PianoTopMargin);
    FrameRectEx(cnv, whole, 0, 0, 0, 0, 0);
    RestorePaintState(cnv);

    FPaintBox->Canvas().Draw(0, 0, CachedBmp);
}

void TKVPianoKeyboard::PaintStrip(TCanvas& Cnv, const TKVPianoGeometry& Geometry)
{
    if (!PianoFixed() && Geometry.KeyWidth > 0) {
        StoreCanvasState(Cnv, nullptr);
        ApplyCanvasState(Cnv, nullptr);
        const std::int32_t cellWidth = 7 * Geometry.KeyWidth;
        const std::int32_t cells = RectWidth(Geometry.KeysArea()) / cellWidth;
        Cnv.Font().SetColor(clWhite);
        for (std::int32_t i = 0; i < cells; ++i) {
            const std::int32_t octave = PianoOctave() + i;
            if (octave > 10) continue;
            const TRect cell{7 + cellWidth * i, 0, 7 + cellWidth * (i + 1), 22};
            DrawTextCenteredCanvas(Cnv, OctaveNames[static_cast<std::size_t>(octave)], cell, true, CentreFormat);
        }
    }
    RestorePaintState(Cnv);
}

void TKVPianoKeyboard::PaintKeys(TCanvas& Cnv, const TKVPianoGeometry& Geometry)
{
    StoreCanvasState(Cnv, nullptr);
    const TRect area = Geometry.KeysArea();
    if (IsRectEmpty(area)) return;
    ApplyCanvasState(Cnv, nullptr);
    Cnv.Brush().SetColor(BackgroundColor);
    Cnv.Brush().SetStyle(bsSolid);
    Cnv.FillRect(area);
    std::lock_guard lock(FCriticalSection);
    for (bool black : {false, true})
        for (std::int32_t key = Geometry.FirstKey(); key <= Geometry.LastKey(); ++key)
            if (TKVPianoGeometry::IsBlackKey(key) == black) PaintKey(Cnv, Geometry, key);
}

void TKVPianoKeyboard::PaintKey(TCanvas& Cnv, const TKVPianoGeometry& Geometry, std::int32_t Key)
{
    const bool black = TKVPianoGeometry::IsBlackKey(Key);
    const bool pressed = Key < PianoKeyCount && std::find(FKeysList.begin(), FKeysList.end(), Key) != FKeysList.end();
    const TRect r = Geometry.KeyRect(Key);
    if (pressed)
        Cnv.Brush().SetColor(FColorList[static_cast<std::size_t>(Key)]);
    else
        Cnv.Brush().SetColor(black ? clBlack : clWhite);
    Cnv.Pen().SetColor(black && !pressed ? BlackKeyFrameColor : clBlack);
    Cnv.FillRect(r);
    FrameRectEx(Cnv, r, 0, 0, 0, 0, 1);
    PaintLabel(Cnv, Key, r);
}

void TKVPianoKeyboard::PaintLabel(TCanvas& Cnv, std::int32_t Key, const TRect& R)
{
    const bool black = TKVPianoGeometry::IsBlackKey(Key);
    if (PianoLable() == klKey) {
        Cnv.Font().SetColor(black ? clWhite : clBlack);
        const std::int32_t offset = black ? BlackLabelOffset : WhiteLabelOffset;
        DrawTextTopCentered(Cnv.Handle(), NoteToName(Key), {R.Left, R.Top + offset, R.Right, R.Bottom}, true,
                            CentreFormat);
    } else if (PianoLable() == klNote && !black) {
        Cnv.Font().SetColor(clBlack);
        const std::int32_t y = R.Top + WhiteLabelOffset;
        HDC dc = Cnv.Handle();
        DrawTextTopCentered(dc, NoteToNumbered(static_cast<std::uint8_t>(Key)), {R.Left, y, R.Right, R.Bottom}, true,
                            CentreFormat);
        // Octave dots: above the digit for octaves over 5, below it for octaves under 5.
        const std::int32_t octave = static_cast<std::uint8_t>(Key / 12 + PianoOctave());
        const std::int32_t th = Cnv.TextHeight(".");
        const std::int32_t d = th / 2 - th / 4;
        for (std::int32_t j = 1; j <= octave - 5; ++j)
            DrawTextTopCentered(dc, ".", {R.Left, y - j * d - 2 * d, R.Right, R.Bottom}, true, CentreFormat);
        for (std::int32_t j = 1; j <= 5 - octave; ++j)
            DrawTextTopCentered(dc, ".", {R.Left, y + j * d, R.Right, R.Bottom}, true, CentreFormat);
    }
}

} // namespace kv
