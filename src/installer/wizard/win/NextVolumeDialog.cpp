#include "installer/wizard/win/NextVolumeDialog.h"

#include "installer/state/InstallerState.h"
#include "installer/state/win/InstallerMessageBox.h"
#include "installer/system/DriveRoot.h"
#include "installer/system/FileSystem.h"
#include "installer/text/SystemNames.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"

#include <windows.h>
#include <commdlg.h>
#include <winioctl.h>

#include <array>
#include <string>

namespace {

constexpr std::size_t kOkText = 6, kBrowseText = 1, kCancelText = 2;
constexpr std::size_t kInsertVolumeText = 121, kRemovableDriveText = 122, kFixedDriveText = 123;
constexpr std::size_t kPressOkText = 124, kVolumeMissingText = 125, kBrowseTitleText = 126;
constexpr DWORD kBrowseFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

struct NextVolumeRequest {
    ByteString* name;
    std::int32_t number;
};

ByteString threeDigits(std::int32_t number)
{
    ByteString digits;
    digits.format("%d", number);
    while (digits.length() < 3)
        digits.insertChar('0', 0);
    return digits;
}

UINT driveTypeOf(const ByteString& name)
{
    ByteString copy = name;
    return GetDriveTypeW(WideName(driveRootOf(copy.cStr())));
}

// Opens the tray of a CD-ROM drive so that the user can change discs: the volume is dismounted
// and its media lock released first. Failures leave the disc where it is.
void ejectDisc(const ByteString& name)
{
    ByteString copy = name;
    const std::string root = driveRootOf(copy.cStr());
    if (root.size() < 2 || root[1] != ':')
        return;
    const std::string device = std::string("\\\\.\\") + root[0] + ":";
    HANDLE volume = CreateFileW(WideName(device), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE)
        return;
    DWORD bytes = 0;
    DeviceIoControl(volume, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr);
    PREVENT_MEDIA_REMOVAL allowRemoval{};
    allowRemoval.PreventMediaRemoval = FALSE;
    DeviceIoControl(volume, IOCTL_STORAGE_MEDIA_REMOVAL, &allowRemoval, sizeof(allowRemoval), nullptr, 0, &bytes, nullptr);
    DeviceIoControl(volume, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &bytes, nullptr);
    CloseHandle(volume);
}

void setButtonText(HWND dialog, int id, std::size_t textIndex)
{
    // Without a language set the resource's own captions stay.
    if (!gLanguageTexts[textIndex].empty())
        setDlgItemTextUtf8(dialog, id, gLanguageTexts[textIndex].cStr());
}

void initialise(HWND dialog, const NextVolumeRequest& request)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&request));
    setButtonText(dialog, IDOK, kOkText);
    setButtonText(dialog, kNextVolumeBrowseId, kBrowseText);
    setButtonText(dialog, IDCANCEL, kCancelText);
    const UINT driveType = driveTypeOf(*request.name);
    if (driveType == DRIVE_CDROM)
        ejectDisc(*request.name);
    setWindowTextUtf8(dialog, gSetupTitle.cStr());
    const ByteString shownName = *request.name;
    ByteString prompt = nextVolumePrompt(shownName, request.number, driveType == DRIVE_FIXED || driveType == DRIVE_REMOTE);
    setDlgItemTextUtf8(dialog, kNextVolumePromptId, prompt.cStr());
}

bool browse(HWND dialog, NextVolumeRequest& request)
{
    ByteString digits = threeDigits(request.number);
    ByteString filter;
    filter.format("Dravell Installer package #%d (*.%s)", request.number, digits.cStr());
    filter.appendChar(0);
    filter.appendCStr("*.");
    filter.append(digits);
    filter.appendChar(0);
    filter.appendChar(0);
    // The filter's NULs convert unit by unit.
    const std::u16string wideFilter = nameToUtf16(reinterpret_cast<const char*>(filter.data()), filter.length());
    std::array<wchar_t, MAX_PATH> path{};
    lstrcpynW(path.data(), WideName(*request.name), MAX_PATH);
    const ByteString title = gLanguageTexts[kBrowseTitleText];
    const WideName wideTitle = title.empty() ? WideName(static_cast<const char*>(nullptr)) : WideName(title);

    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = dialog;
    open.lpstrFilter = reinterpret_cast<const wchar_t*>(wideFilter.c_str());
    open.nFilterIndex = 1;
    open.lpstrFile = path.data();
    open.nMaxFile = MAX_PATH;
    open.lpstrTitle = wideTitle;
    open.Flags = kBrowseFlags;
    if (!GetOpenFileNameW(&open))
        return false;
    *request.name = utf8FromWide(path.data());
    return true;
}

void onCommand(HWND dialog, int id)
{
    auto* request = reinterpret_cast<NextVolumeRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!request)
        return;
    switch (id) {
    case IDOK:
        if (fileExists(request->name->cStr()))
            EndDialog(dialog, 1);
        else
            messageBox(dialog, gLanguageTexts[kVolumeMissingText].cStr(), gSetupTitle.cStr(), MB_OK | MB_ICONWARNING);
        break;
    case kNextVolumeBrowseId:
        if (browse(dialog, *request))
            EndDialog(dialog, 1);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK nextVolumeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            initialise(dialog, *reinterpret_cast<NextVolumeRequest*>(lParam));
            return TRUE;
        case WM_COMMAND:
            onCommand(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may leave a dialog procedure: a failure counts as Cancel.
        EndDialog(dialog, 0);
        return TRUE;
    }
}

} // namespace

ByteString nextVolumePrompt(const ByteString& volumeName, std::int32_t volumeNumber, bool fixedOrNetworkDrive)
{
    ByteString insert = gLanguageTexts[kInsertVolumeText];
    ByteString name = volumeName;
    ByteString prompt;
    if (insert.find("%s") >= 0)
        prompt.format(insert.cStr(), name.cStr());
    else
        prompt.format(insert.cStr(), volumeNumber);
    prompt.appendChar(' ');
    prompt.append(gLanguageTexts[fixedOrNetworkDrive ? kFixedDriveText : kRemovableDriveText]);
    if (prompt.empty() || prompt.at(prompt.length() - 1) != ' ')
        prompt.appendChar(' ');
    prompt.append(gLanguageTexts[kPressOkText]);
    return prompt;
}

int showNextVolumeDialog(ByteString& volumeName, std::int32_t volumeNumber)
{
    NextVolumeRequest request{&volumeName, volumeNumber};
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = static_cast<HWND>(gMainInstaller.mainWindow);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kNextVolumeDialogId), owner,
                                           nextVolumeProc, reinterpret_cast<LPARAM>(&request));
    return result == 1 ? 1 : 0;
}
