#include "installer/wizard/InstallTypeChoice.h"

#include "installer/package/PackageHeaderFields.h"
#include "installer/state/InstallerState.h"
#include "installer/variables/VariableApi.h"

namespace {

constexpr std::uint32_t kTypicalBytesRequired = 204;
constexpr std::uint32_t kTypicalJpegBytes = 216;
constexpr std::uint32_t kTypicalMp3Bytes = 220;
constexpr std::uint32_t kTypicalOtherBytes = 228;

} // namespace

InstallTypeFigures installTypeFigures(const ByteString& header, std::int32_t type)
{
    const bool minimal = type == kMinimalInstallation;
    InstallTypeFigures figures;
    figures.bytesRequired = headerField(header, minimal ? kHeaderFieldBytesRequiredMinimal : kTypicalBytesRequired);
    figures.jpegBytes = headerField(header, minimal ? kHeaderFieldJpegBytesMinimal : kTypicalJpegBytes);
    figures.mp3Bytes = headerField(header, minimal ? kHeaderFieldMp3BytesMinimal : kTypicalMp3Bytes);
    figures.otherBytes = headerField(header, minimal ? kHeaderFieldOtherBytesMinimal : kTypicalOtherBytes);
    return figures;
}

void setInstallTypeVariables(std::int32_t type)
{
    setVariableText("<IT_Typical>", type == kTypicalInstallation ? "1" : "0");
    setVariableText("<IT_Minimal>", type == kMinimalInstallation ? "1" : "0");
    setVariableText("<IT_Custom>", type == kCustomInstallation ? "1" : "0");
    setVariableInt("<IT_Type>", type);
}
