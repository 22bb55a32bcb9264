// Copying the attributes of pens, brushes and fonts (Dest.Assign(Source)).
#include "gui/TBrush.h"
#include "gui/TFont.h"
#include "gui/TPen.h"

namespace kv {

void TPen::AssignTo(TPersistent& Dest) const
{
    auto* pen = dynamic_cast<TPen*>(&Dest);
    if (!pen) return TPersistent::AssignTo(Dest);
    pen->FColor = FColor;
    pen->FWidth = FWidth;
    pen->FStyle = FStyle;
    pen->FMode = FMode;
    ++pen->FVersion;
}

void TBrush::AssignTo(TPersistent& Dest) const
{
    auto* brush = dynamic_cast<TBrush*>(&Dest);
    if (!brush) return TPersistent::AssignTo(Dest);
    brush->FColor = FColor;
    brush->FStyle = FStyle;
    ++brush->FVersion;
}

void TFont::AssignTo(TPersistent& Dest) const
{
    auto* font = dynamic_cast<TFont*>(&Dest);
    if (!font) return TPersistent::AssignTo(Dest);
    font->FName = FName;
    font->FHeight = FHeight;
    font->FColor = FColor;
    font->FCharset = FCharset;
    font->FBold = FBold;
    ++font->FVersion;
}

} // namespace kv
