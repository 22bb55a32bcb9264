#include "gui/win/TCanvas.h"

#include "base/Exceptions.h"
#include "gui/win/FontHandle.h"
#include "gui/win/TApplication.h"
#include "gui/win/TBitmap.h"

#include <algorithm>

namespace kv {

namespace {

HPEN MakePen(const TPen& Pen)
{
    int style = PS_SOLID;
    switch (Pen.Style()) {
    case psDash: style = PS_DASH; break;
    case psDot: style = PS_DOT; break;
    case psClear: style = PS_NULL; break;
    default: break;
    }
    return CreatePen(style, Pen.Width(), ColorToRGB(Pen.Color()));
}

HBRUSH MakeBrush(const TBrush& Brush)
{
    switch (Brush.Style()) {
    case bsSolid: return CreateSolidBrush(ColorToRGB(Brush.Color()));
    case bsClear: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case bsHorizontal: return CreateHatchBrush(HS_HORIZONTAL, ColorToRGB(Brush.Color()));
    case bsVertical: return CreateHatchBrush(HS_VERTICAL, ColorToRGB(Brush.Color()));
    case bsFDiagonal: return CreateHatchBrush(HS_FDIAGONAL, ColorToRGB(Brush.Color()));
    case bsBDiagonal: return CreateHatchBrush(HS_BDIAGONAL, ColorToRGB(Brush.Color()));
    case bsCross: return CreateHatchBrush(HS_CROSS, ColorToRGB(Brush.Color()));
    case bsDiagCross: return CreateHatchBrush(HS_DIAGCROSS, ColorToRGB(Brush.Color()));
    }
    return CreateSolidBrush(ColorToRGB(Brush.Color()));
}

// Deleting a stock object (the clear brush) is harmless, so every made object is deleted.
void DeleteMade(HGDIOBJ& Object)
{
    if (Object) DeleteObject(Object);
    Object = nullptr;
}


std::string PenKey(const TPen& Pen)
{
    return std::to_string(Pen.Style()) + ' ' + std::to_string(Pen.Width()) + ' ' + std::to_string(Pen.Color());
}

std::string BrushKey(const TBrush& Brush)
{
    return std::to_string(Brush.Style()) + ' ' + std::to_string(Brush.Color());
}

std::string FontKey(const TFont& Font)
{
    return std::to_string(Font.Height()) + ' ' + std::to_string(Font.Bold()) + ' ' + std::to_string(Font.Charset()) +
           ' ' + Font.Name();
}

} // namespace

TCanvas::~TCanvas()
{
    DeselectObjects();
    const std::pair<TSelectedObject*, std::vector<TCachedObject>*> kinds[] = {
        {&FPenObject, &FPenCache}, {&FBrushObject, &FBrushCache}, {&FFontObject, &FFontCache}};
    for (auto [slot, cache] : kinds) {
        if (!Holds(*cache, slot->Made)) DeleteMade(slot->Made);
        for (TCachedObject& kept : *cache) DeleteMade(kept.Object);
    }
}

void TCanvas::SetObjectCacheSize(std::size_t Count)
{
    FCacheSize = Count;
    TrimCache(FPenCache, FPenObject, Count);
    TrimCache(FBrushCache, FBrushObject, Count);
    TrimCache(FFontCache, FFontObject, Count);
}

bool TCanvas::Holds(const std::vector<TCachedObject>& Cache, HGDIOBJ Object)
{
    return std::any_of(Cache.begin(), Cache.end(), [&](const TCachedObject& c) { return c.Object == Object; });
}

// Frees the oldest kept objects beyond Count, except the one selected now (still in use).
void TCanvas::TrimCache(std::vector<TCachedObject>& Cache, const TSelectedObject& Slot, std::size_t Count)
{
    for (auto it = Cache.begin(); Cache.size() > Count && it != Cache.end();) {
        if (it->Object == Slot.Made) {
            ++it;
            continue;
        }
        DeleteMade(it->Object);
        it = Cache.erase(it);
    }
}

HGDIOBJ TCanvas::CachedOrMade(const TSelectedObject& Slot, std::vector<TCachedObject>& Cache, HGDIOBJ Made,
                              const std::string& Key)
{
    ++FObjectsMade;
    if (FCacheSize == 0) return Made;
    // The selected object stays until the new one replaces it, so it may stay beyond the size.
    TrimCache(Cache, Slot, FCacheSize - 1);
    Cache.push_back({Key, Made});
    return Made;
}

void TCanvas::SetHandle(HDC Value)
{
    if (Value == FHandle) return;
    DeselectObjects();
    FHandle = Value;
}

HDC TCanvas::Handle()
{
    if (!FHandle) CreateHandle();
    if (!FHandle) throw Exception("Canvas does not allow drawing");
    Realize();
    return FHandle;
}

void TCanvas::DeselectObjects()
{
    if (!FHandle) return;
    for (TSelectedObject* slot : {&FPenObject, &FBrushObject, &FFontObject}) {
        if (slot->Original) SelectObject(FHandle, slot->Original);
        slot->Original = nullptr;
        slot->Version = ~0u;
    }
}

// An object is remade when its attribute changed or when none of ours is selected here; with a
// cache, an object made before from the same attributes is selected again instead.
template <typename Make>
void TCanvas::SelectCurrent(TSelectedObject& Slot, std::vector<TCachedObject>& Cache, std::uint32_t Version,
                            const std::string& Key, Make MakeObject)
{
    if (Slot.Version == Version && Slot.Original) return;
    const auto kept = std::find_if(Cache.begin(), Cache.end(), [&](const TCachedObject& c) { return c.Key == Key; });
    HGDIOBJ made = kept != Cache.end() ? kept->Object : CachedOrMade(Slot, Cache, MakeObject(), Key);
    HGDIOBJ replaced = SelectObject(FHandle, made);
    if (!Slot.Original) Slot.Original = replaced;
    if (Slot.Made != made && !Holds(Cache, Slot.Made)) DeleteMade(Slot.Made);
    Slot.Made = made;
    Slot.Version = Version;
}

void TCanvas::Realize()
{
    SelectCurrent(FPenObject, FPenCache, FPen.Version(), FCacheSize ? PenKey(FPen) : std::string(),
                  [this] { return MakePen(FPen); });
    SetROP2(FHandle, FPen.Mode() == pmXor ? R2_XORPEN : FPen.Mode() == pmNot ? R2_NOT : R2_COPYPEN);
    SelectCurrent(FBrushObject, FBrushCache, FBrush.Version(), FCacheSize ? BrushKey(FBrush) : std::string(),
                  [this] { return MakeBrush(FBrush); });
    SetBkColor(FHandle, ColorToRGB(FBrush.Color()));
    SelectCurrent(FFontObject, FFontCache, FFont.Version(), FCacheSize ? FontKey(FFont) : std::string(),
                  [this] { return MakeFont(FFont); });
    SetTextColor(FHandle, ColorToRGB(FFont.Color()));
}

void TCanvas::FillRect(const TRect& R)
{
    HDC dc = Handle();
    const RECT rect{R.Left, R.Top, R.Right, R.Bottom};
    if (FBrush.Style() == bsClear) return;
    ::FillRect(dc, &rect, static_cast<HBRUSH>(FBrushObject.Made));
}

void TCanvas::MoveTo(std::int32_t X, std::int32_t Y) { MoveToEx(Handle(), X, Y, nullptr); }

void TCanvas::LineTo(std::int32_t X, std::int32_t Y) { ::LineTo(Handle(), X, Y); }

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    std::vector<POINT> points;
    points.reserve(Points.size());
    for (const TPoint& p : Points) points.push_back({p.X, p.Y});
    ::Polyline(Handle(), points.data(), static_cast<int>(points.size()));
}

void TCanvas::TextOut(std::int32_t X, std::int32_t Y, const std::string& Text)
{
    const std::wstring wide = Utf8ToWide(Text);
    TextOutW(Handle(), X, Y, wide.c_str(), static_cast<int>(wide.size()));
}

SIZE TCanvas::TextExtent(const std::string& Text)
{
    const std::wstring wide = Utf8ToWide(Text);
    SIZE size{0, 0};
    GetTextExtentPoint32W(Handle(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void TCanvas::Draw(std::int32_t X, std::int32_t Y, TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return;
    BitBlt(Handle(), X, Y, Bitmap.Width(), Bitmap.Height(), Bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect)
{
    StretchBlt(Handle(), Dest.Left, Dest.Top, Dest.Right - Dest.Left, Dest.Bottom - Dest.Top, Source.Handle(),
               SourceRect.Left, SourceRect.Top, SourceRect.Right - SourceRect.Left,
               SourceRect.Bottom - SourceRect.Top, FCopyMode);
}

} // namespace kv
