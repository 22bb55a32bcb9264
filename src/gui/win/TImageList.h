#pragma once
// A row of images of one size over the system image list. Pixels of the transparent colour an
// image is added with stay transparent where the image is drawn.
#include "base/TComponent.h"
#include "gui/TColor.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

namespace kv {

class TBitmap;

class TImageList : public TComponent {
public:
    TImageList(TComponent* AOwner, std::int32_t Width, std::int32_t Height);
    ~TImageList() override;
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;
    std::string ClassName() const override { return "TImageList"; }

    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    int Count() const;
    HIMAGELIST Handle() const { return FHandle; }

    // Appends Image (Width x Height) and returns its index, -1 when it could not be added.
    int AddMasked(TBitmap& Image, TColor TransparentColor);
    // Image Index drawn over Background in a bitmap of its own (for a menu item); the caller
    // deletes it. nullptr for an index outside the list.
    HBITMAP MakeOpaqueBitmap(int Index, TColor Background) const;

private:
    std::int32_t FWidth, FHeight;
    HIMAGELIST FHandle = nullptr;
};

} // namespace kv
