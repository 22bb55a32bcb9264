#pragma once
// Where the background's parts lie: the colour of each gradient row, the page image's place and
// its tiles, and the slideshow image's place. Colours are 0x00BBGGRR.
#include <cstdint>
#include <vector>

// The colour of every row of a background of height rows: from top to split colour above the
// split row, from split to bottom colour from the split row down. The split row is height ×
// splitPercent / 100, at most height (a split of 100 % or more is one band from top to split).
std::vector<std::uint32_t> gradientRows(std::uint32_t topColour, std::uint32_t splitColour, std::uint32_t bottomColour,
                                        std::uint32_t splitPercent, std::uint32_t height);

struct PixelRect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Where the page image of imageWidth × imageHeight goes on a background of width × height, from
// the background flags and the image position (bit 31 of imageX measures from the right edge, of
// imageY from the bottom). Stretched: the whole background; tiled: the top left tile.
PixelRect pageImagePlace(std::uint32_t flags, std::uint32_t imageX, std::uint32_t imageY, std::int32_t width,
                         std::int32_t height, std::int32_t imageWidth, std::int32_t imageHeight);

// The tiles after the first that cover a background with an image drawn at the top left: row by
// row from the top, each row left to right.
std::vector<PixelRect> pageImageTiles(std::int32_t width, std::int32_t height, std::int32_t imageWidth,
                                      std::int32_t imageHeight);

// Corner codes of the slideshow area and of an image inside it.
enum SlideshowCorner : std::int32_t {
    kSlideshowCentre = 0,
    kSlideshowTopLeft = 1,
    kSlideshowTopRight = 2,
    kSlideshowBottomLeft = 3,
};

struct SlideshowLayout {
    std::int32_t area = 0;
    std::int32_t alignment = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    // The largest image of the slideshow.
    std::int32_t largestWidth = 0;
    std::int32_t largestHeight = 0;
};

// The place of a slideshow image of imageWidth × imageHeight on a background of width × height.
PixelRect slideshowImagePlace(const SlideshowLayout& layout, std::int32_t width, std::int32_t height,
                              std::int32_t imageWidth, std::int32_t imageHeight);
