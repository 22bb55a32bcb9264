#include "ExpandProductStrings.h"

#include "installer/package/PackageHeaderFields.h"
#include "installer/state/InstallerState.h"
#include "installer/text/FileNameSafe.h"
#include "installer/variables/TextExpansion.h"

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
    toc.bytesRequired = headerField(gPackageHeader, kHeaderFieldBytesRequiredMinimal);
    toc.jpegBytes = headerField(gPackageHeader, kHeaderFieldJpegBytesMinimal);
    toc.mp3Bytes = headerField(gPackageHeader, kHeaderFieldMp3BytesMinimal);
    toc.otherBytes = headerField(gPackageHeader, kHeaderFieldOtherBytesMinimal);
}
