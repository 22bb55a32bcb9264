// The table of contents reader over any unscrambled block: no read outside the block, no
// allocation larger than it could hold, no fault on any nesting or count.
#include "installer/package/TocRead.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PackageToc toc;
    InstallerContext context;
    BackgroundStyle background;
    SystemRequirements requirements;
    SlideshowSettings slideshow;
    InstallerFlags flags;
    const ByteString block(data, static_cast<std::uint32_t>(size));
    parseTocBlock(block, TocTargets{toc, context, background, requirements, slideshow, flags});
    return 0;
}
