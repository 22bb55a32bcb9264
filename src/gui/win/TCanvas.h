#pragma once
// A drawing surface over a device context, with the pen, brush and font it draws with. The
// platform objects are made from the attributes when a drawing call (or Handle()) needs them.
#include "base/TObject.h"
#include "gui/TBrush.h"
#include "base/TCriticalSection.h"
#include "gui/TFont.h"
#include "gui/TPen.h"
#include "gui/TRect.h"

#include <windows.h>
// The canvas's TextOut is ours, not the platform's macro.
#undef TextOut

#include <string>
#include <vector>

namespace kv {

class TBitmap;

class TCanvas : public TObject {
public:
    TCanvas() = default;
    ~TCanvas() override;
    std::string ClassName() const override { return "TCanvas"; }

    // The device context with the pen, brush and font selected; 0 when unbound.
    HDC Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Binds the canvas to a device context it does not own (0 unbinds).
    void SetHandle(HDC Value);

    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TFont& Font() { return FFont; }
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD Value) { FCopyMode = Value; }

    void FillRect(const TRect& R);
    void MoveTo(std::int32_t X, std::int32_t Y);
    void LineTo(std::int32_t X, std::int32_t Y);
    void Polyline(const std::vector<TPoint>& Points);
    void TextOut(std::int32_t X, std::int32_t Y, const std::string& Text);
    SIZE TextExtent(const std::string& Text);
    std::int32_t TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
    void Draw(std::int32_t X, std::int32_t Y, TBitmap& Bitmap);
    // Copies Source's rectangle into Dest with CopyMode, stretching when the sizes differ.
    void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);

    // Keeps up to Count pens, brushes and fonts of each kind once made, so that a canvas going
    // back and forth between a few of them makes each once instead of at every change. 0, the
    // default: an object is made anew whenever its attribute changes and freed when replaced.
    void SetObjectCacheSize(std::size_t Count);
    // Pens, brushes and fonts this canvas has made so far.
    std::uint64_t ObjectsMade() const { return FObjectsMade; }

    // Serialises drawing from several threads.
    void Lock() { FLock.Enter(); }
    void Unlock() { FLock.Leave(); }

protected:
    // Called when Handle() is needed while unbound; a bitmap's canvas makes its memory DC here.
    virtual void CreateHandle() {}

private:
    void Realize();
    void DeselectObjects();

    HDC FHandle = nullptr;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    DWORD FCopyMode = SRCCOPY;
    TCriticalSection FLock;

    // A platform object made from an attribute (pen, brush or font): the object, the version of
    // the attribute it was made from, and the device context's own object it replaced there.
    struct TSelectedObject {
        HGDIOBJ Made = nullptr;
        std::uint32_t Version = ~0u;
        HGDIOBJ Original = nullptr;
    };
    // A made object kept for reuse, with the attributes it was made from.
    struct TCachedObject {
        std::string Key;
        HGDIOBJ Object;
    };
    template <typename Make>
    void SelectCurrent(TSelectedObject& Slot, std::vector<TCachedObject>& Cache, std::uint32_t Version,
                       const std::string& Key, Make MakeObject);
    HGDIOBJ CachedOrMade(const TSelectedObject& Slot, std::vector<TCachedObject>& Cache, HGDIOBJ Made,
                         const std::string& Key);
    static bool Holds(const std::vector<TCachedObject>& Cache, HGDIOBJ Object);
    void TrimCache(std::vector<TCachedObject>& Cache, const TSelectedObject& Slot, std::size_t Count);

    TSelectedObject FPenObject, FBrushObject, FFontObject;
    std::vector<TCachedObject> FPenCache, FBrushCache, FFontCache;
    std::size_t FCacheSize = 0;
    std::uint64_t FObjectsMade = 0;
};

} // namespace kv
