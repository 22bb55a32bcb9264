#include "installer/install/JpegConversion.h"
#include "installer/state/UninstallLists.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallRun.h"
#include "installer/install/ListedPaths.h"
#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <string>

const char* const kJpegErrorCaption = "JPEG Decompression error";

namespace {

constexpr std::size_t kConvertingStatus = 128;

using JpegProgress = int(__stdcall*)(int percent);
using JpegError = int(__stdcall*)(const char* text);
using JpegToBmpEx = int(__stdcall*)(const char* jpegPath, const char* bmpPath, JpegProgress, JpegError);

std::int32_t jpegSize = 0;
std::int32_t jpegBytesBefore = 0;

int __stdcall jpegProgress(int percent) noexcept
{
    try {
        const std::int32_t bytes = MulDiv(percent, jpegSize, 100);
        if (gPackageToc.jpegBytes != 0) {
            const std::int32_t done = bytes + jpegBytesBefore;
            setProgress(MulDiv(100, done, static_cast<int>(gPackageToc.jpegBytes)), static_cast<std::uint32_t>(done));
        }
    } catch (...) {
    }
    return 1;
}

int __stdcall jpegError(const char* text) noexcept
{
    try {
        // The library writes in the ANSI code page; the box takes UTF-8. Owned by the current
        // page's window, or else the main window.
        ByteString message;
        ansiToUtf8(text ? text : "", message);
        errorBox(nullptr, message.cStr(), kJpegErrorCaption);
    } catch (...) {
    }
    return 1;
}

} // namespace

bool convertJpegFiles()
{
    jpegBytesBefore = 0;
    const auto convert = reinterpret_cast<JpegToBmpEx>(gJpegHelper.entry("JPGToBMPEx"));
    for (const std::string& path : listedPaths(gPackageToc.jpegFiles)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(WideName(path), GetFileExInfoStandard, &data))
            return false;
        jpegSize = static_cast<std::int32_t>(data.nFileSizeLow);
        const std::string target = path.substr(0, path.size() - 3) + "BMP";
        if (!gFlags.silent && gInstallView.statusLine) {
            // Names inside the installer are UTF-8 already, as the status line takes them.
            ByteString status = gLanguageTexts[kConvertingStatus];
            gInstallView.statusLine((std::string(status.cStr()) + " " + path).c_str());
        }
        if (!convert || convert(path.c_str(), target.c_str(), jpegProgress, jpegError) <= 0)
            return false;
        addListEntry(target.c_str(), gUninstallLog.files);
        if (gPackageToc.extractorMode)
            gPackageToc.unpackedFiles.emplace_back(target.c_str());
        installFileSystem().remove(path);
        jpegBytesBefore += jpegSize;
    }
    return true;
}
