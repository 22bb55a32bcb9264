#include "installer/wizard/win/DialogImage.h"

#include "installer/package/MemberExtraction.h"
#include "installer/package/PackageHeaderFields.h"
#include "installer/package/VolumeState.h"
#include "installer/state/InstallerState.h"
#include "installer/system/FileSystem.h"
#include "installer/system/TempFileName.h"
#include "installer/wizard/win/BackgroundPicture.h"

#include <windows.h>

namespace {

constexpr std::uint32_t kDialogImageOffset = 8;
constexpr std::uint32_t kDialogImageSize = 12;

} // namespace

std::int32_t loadDialogImage()
{
    const std::uint32_t offset = headerField(gPackageHeader, kDialogImageOffset);
    const std::uint32_t size = headerField(gPackageHeader, kDialogImageSize);
    if (size == 0)
        return 1;
    char buffer[kPathBufferSize];
    ByteString path(makeTempFileName(buffer, ".bmp"));
    setSingleVolumeMember(offset, size);
    if (extractMember(gPackagePath.cStr(), path.cStr(), offset, size) != kExtractDone) {
        forceDelete(path.cStr());
        return kDialogImageNotExtracted;
    }
    BmpImage image;
    const std::int32_t read = readBmpFile(path.cStr(), image);
    forceDelete(path.cStr());
    if (read == -1)
        return kDialogImageNotOpened;
    if (read != kBmpRead)
        return read;
    HDC screen = GetDC(nullptr);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image.block.data());
    HBITMAP bitmap = screen ? CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, image.block.data() + image.bitsOffset,
                                             info, DIB_RGB_COLORS)
                            : nullptr;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (!bitmap)
        return kDialogImageNotMade;
    gInstallerContext.dialogImage = bitmap;
    return 1;
}
