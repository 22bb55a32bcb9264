#pragma once
// The attributes of the text a canvas writes. Height is in pixels; negative values give the
// character height, positive ones the cell height, as the platform's fonts do.
#include "base/TPersistent.h"
#include "gui/TColor.h"

#include <cstdint>
#include <string>

namespace kv {

// The platform's character-set numbers.
constexpr std::uint8_t DefaultCharset = 1;
constexpr std::uint8_t SymbolCharset = 2;

class TFont : public TPersistent {
public:
    std::string ClassName() const override { return "TFont"; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value)
    {
        if (FName == Value) return;
        FName = Value;
        ++FVersion;
    }
    std::int32_t Height() const { return FHeight; }
    void SetHeight(std::int32_t Value)
    {
        if (FHeight == Value) return;
        FHeight = Value;
        ++FVersion;
    }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value)
    {
        if (FColor == Value) return;
        FColor = Value;
        ++FVersion;
    }
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t Value)
    {
        if (FCharset == Value) return;
        FCharset = Value;
        ++FVersion;
    }
    bool Bold() const { return FBold; }
    void SetBold(bool Value)
    {
        if (FBold == Value) return;
        FBold = Value;
        ++FVersion;
    }
    std::uint32_t Version() const { return FVersion; }

protected:
    void AssignTo(TPersistent& Dest) const override;

private:
    std::string FName = "Tahoma";
    std::int32_t FHeight = -11;
    TColor FColor = clWindowText;
    std::uint8_t FCharset = DefaultCharset;
    bool FBold = false;
    std::uint32_t FVersion = 0;
};

} // namespace kv
