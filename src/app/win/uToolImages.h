#pragma once
// The tool-bar and menu images of the main window: 21 pictures of 24 x 24 pixels, drawn here
// from simple shapes, at the indexes the actions name.
#include "gui/win/TBitmap.h"
#include "gui/win/TImageList.h"

namespace kv {

constexpr std::int32_t ToolImageSize = 24;
constexpr int ToolImageCount = 21;

void LoadToolImages(TImageList& Images);

// The piano roll's zoom reset picture: a magnifying glass of 11 x 11 pixels on magenta, the
// colour that lets the button show through.
void DrawResetGlyph(TBitmap& Glyph);

} // namespace kv
