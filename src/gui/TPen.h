#pragma once
// The attributes of the lines a canvas draws. A canvas takes them when it next draws.
#include "base/TPersistent.h"
#include "gui/TColor.h"

#include <cstdint>

namespace kv {

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psClear };
enum TPenMode : std::uint8_t { pmCopy, pmXor, pmNot };

class TPen : public TPersistent {
public:
    std::string ClassName() const override { return "TPen"; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value)
    {
        if (FColor == Value) return;
        FColor = Value;
        ++FVersion;
    }
    std::int32_t Width() const { return FWidth; }
    void SetWidth(std::int32_t Value)
    {
        if (FWidth == Value) return;
        FWidth = Value;
        ++FVersion;
    }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value)
    {
        if (FStyle == Value) return;
        FStyle = Value;
        ++FVersion;
    }
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value)
    {
        if (FMode == Value) return;
        FMode = Value;
        ++FVersion;
    }
    // Changes with every attribute change; a canvas compares it to know when to make a new pen.
    std::uint32_t Version() const { return FVersion; }

protected:
    void AssignTo(TPersistent& Dest) const override;

private:
    TColor FColor = clBlack;
    std::int32_t FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    std::uint32_t FVersion = 0;
};

} // namespace kv
