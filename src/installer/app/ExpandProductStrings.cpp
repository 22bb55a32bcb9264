#include "ExpandProductStrings.h"

#include "installer/core/FileNameSafe.h"
#include "installer/core/InstallerState.h"
#include "installer/core/PackageHeaderFields.h"
#include "installer/core/TextExpansion.h"

namespace {

std::uint32_t headerField(std::uint32_t offset)
{
    return gPackageHeader.length() >= offset + 4 ? gPackageHeader.readBE32(offset) : 0;
}

} // namespace

void expandProductStrings()
{
    PackageToc& toc = gPackageToc;
    for (ByteString* text : {&toc.destinationKey, &toc.destinationValueName, &toc.installDir, &toc.pluginSettings})
        expandFolderVariables(*text);
    for (ByteString* text : {&toc.installDir, &toc.shortcutDir, &toc.productId, &toc.productName,
                             &toc.reportedProductKey, &toc.reportedProductName, &gBackgroundStyle.windowTitle})
        expandVariables(*text, kAllVariables);
    toc.fileNameSafeProductId = fileNameSafe(toc.productId);
    toc.fileNameSafeProductName = fileNameSafe(toc.productName);
    toc.bytesRequired = headerField(kHeaderFieldBytesRequiredMinimal);
    toc.jpegBytes = headerField(kHeaderFieldJpegBytesMinimal);
    toc.mp3Bytes = headerField(kHeaderFieldMp3BytesMinimal);
    toc.otherBytes = headerField(kHeaderFieldOtherBytesMinimal);
}
