#include "RunInnerInstaller.h"

#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/FileSystem.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/TextExpansion.h"

#include <windows.h>

#include <string>
#include <vector>

const char* const kInnerInstallerNotStarted = "Failed to launch installer. (CreateProcess failed)";

namespace {

constexpr DWORD kSettleMilliseconds = 50;

void removeUnpackedFiles()
{
    for (ByteString& path : gPackageToc.unpackedFiles)
        forceDelete(path.cStr());
    gPackageToc.unpackedFiles.clear();
    ByteString resourceDir = gPackageToc.resourceDirectory;
    for (const char* folder : {"\\installer", "\\slideshow", "\\3rd-party"}) {
        ByteString path = resourceDir;
        path.appendCStr(folder);
        RemoveDirectoryW(WideName(path.cStr()));
    }
    RemoveDirectoryW(WideName(resourceDir.cStr()));
}

} // namespace

bool runInnerInstaller()
{
    if (gInstallerContext.mainWindow) {
        DestroyWindow(static_cast<HWND>(gInstallerContext.mainWindow));
        gInstallerContext.mainWindow = nullptr;
        gMainInstaller.mainWindow = nullptr;
    }
    ByteString path = gPackageToc.innerInstallerPath;
    expandBuiltinVariables(path);
    std::string commandLine = std::string("\"") + path.cStr() + "\"";
    if (gFlags.silent)
        commandLine += " /silent";
    if (gFlags.revert)
        commandLine += " /revert";
    std::string folder = ByteString(gModulePath).cStr();
    const std::size_t slash = folder.rfind('\\');
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);

    WideName line(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                                        nullptr, WideName(folder.empty() ? nullptr : folder.c_str()), &startup, &process);
    if (!started) {
        removeUnpackedFiles();
        if (!gFlags.silent)
            errorBox(nullptr, kInnerInstallerNotStarted, nullptr);
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    Sleep(kSettleMilliseconds);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    removeUnpackedFiles();
    return gFlags.revert ? exitCode == 0 : exitCode != 0;
}
