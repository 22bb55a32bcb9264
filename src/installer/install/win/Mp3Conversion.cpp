#include "installer/install/Mp3Conversion.h"
#include "installer/state/UninstallLists.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallRun.h"
#include "installer/install/ListedPaths.h"
#include "installer/state/InstallerState.h"
#include "installer/text/win/TextConversion.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr int kMusicPlayer = 0;
constexpr int kConversionPlayer = 1;
constexpr std::size_t kConvertingStatus = 128;
constexpr std::size_t kDeviceFailed = 129;
constexpr std::size_t kOpenFailed = 130;
constexpr std::size_t kInitFailed = 131;

int mp3Progress(std::int32_t bytes) noexcept
{
    try {
        const std::uint64_t total = gPackageToc.mp3Bytes;
        if (total != 0) {
            const auto done = static_cast<std::uint64_t>(static_cast<std::uint32_t>(bytes));
            setProgress(static_cast<std::int32_t>(done * 100 / total), done);
        }
    } catch (...) {
    }
    return 0;
}

void showLanguageError(std::size_t index)
{
    ByteString text = gLanguageTexts[index];
    showInstallError(text.cStr());
}

void logInstalledFile(const ByteString& path)
{
    addListEntry(ByteString(path).cStr(), gUninstallLog.files);
}

void pumpPendingMessages()
{
    if (gInstallView.pumpMessages) {
        gInstallView.pumpMessages();
        return;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void showStatus(const std::string& path)
{
    if (gFlags.silent || !gInstallView.statusLine)
        return;
    // Names inside the installer are UTF-8 already, as the status line takes them.
    ByteString status = gLanguageTexts[kConvertingStatus];
    gInstallView.statusLine((std::string(status.cStr()) + " " + path).c_str());
}

bool convertMp3File(const std::string& base)
{
    const std::string source = base + ".mp3";
    const std::string target = base + ".wav";
    switch (gMp3Helper.startConversion(target.c_str(), source.c_str())) {
    case Mp3Helper::ConversionStart::DeviceFailed: showLanguageError(kDeviceFailed); return false;
    case Mp3Helper::ConversionStart::OpenFailed: showLanguageError(kOpenFailed); return false;
    case Mp3Helper::ConversionStart::Started: break;
    }
    while (!gMp3Helper.conversionFinished()) {
        pumpPendingMessages();
        // A Cancel answered while waiting has stopped the library and logged the half file.
        if (!gMp3Helper.conversionRunning)
            return false;
        Sleep(5);
    }
    logInstalledFile(gMp3Helper.wavPath);
    gMp3Helper.callPlayer("MP3Close", kConversionPlayer);
    gMp3Helper.conversionRunning = false;
    installFileSystem().remove(source);
    return true;
}

} // namespace

bool convertMp3Files()
{
    if (!gMp3Helper.loaded() || !gMp3Helper.beginConversions(mp3Progress)) {
        showLanguageError(kInitFailed);
        return false;
    }
    for (const std::string& path : listedPaths(gPackageToc.mp3Files)) {
        if (path.size() < 4)
            continue;
        showStatus(path);
        if (!convertMp3File(path.substr(0, path.size() - 4)))
            return false;
    }
    gMp3Helper.callPlayer("MP3DeInit", kConversionPlayer);
    gMp3Helper.conversionRunning = false;
    return true;
}

bool confirmCancelDuringInstallation(const std::function<bool()>& confirmExit)
{
    if (gMp3Helper.conversionRunning)
        gMp3Helper.callPlayer("MP3Suspend", kConversionPlayer);
    const bool leave = !confirmExit || confirmExit();
    if (gMp3Helper.conversionRunning)
        gMp3Helper.callPlayer("MP3Resume", kConversionPlayer);
    if (!leave)
        return false;
    Sleep(10);
    const bool music = gMp3Helper.musicPlaying;
    const bool converting = gMp3Helper.conversionRunning;
    if (music || converting) {
        if (music)
            gMp3Helper.callPlayer("MP3Stop", kMusicPlayer);
        if (converting)
            gMp3Helper.callPlayer("MP3Stop", kConversionPlayer);
        Sleep(500);
        if (converting && !gMp3Helper.wavPath.empty())
            logInstalledFile(gMp3Helper.wavPath);
        if (music)
            gMp3Helper.callPlayer("MP3Close", kMusicPlayer);
        if (converting)
            gMp3Helper.callPlayer("MP3Close", kConversionPlayer);
    }
    // The last call for each active player, then the library goes and both flags are cleared.
    gMp3Helper.shutDown();
    return true;
}
