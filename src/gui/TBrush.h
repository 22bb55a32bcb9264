#pragma once
// The attributes of the areas a canvas fills.
#include "base/TPersistent.h"
#include "gui/TColor.h"

#include <cstdint>

namespace kv {

enum TBrushStyle : std::uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TPersistent {
public:
    std::string ClassName() const override { return "TBrush"; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value)
    {
        if (FColor == Value) return;
        FColor = Value;
        ++FVersion;
    }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value)
    {
        if (FStyle == Value) return;
        FStyle = Value;
        ++FVersion;
    }
    std::uint32_t Version() const { return FVersion; }

protected:
    void AssignTo(TPersistent& Dest) const override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    std::uint32_t FVersion = 0;
};

} // namespace kv
