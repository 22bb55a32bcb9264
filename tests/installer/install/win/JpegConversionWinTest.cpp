// The JPEG phase through the image library: each installed JPEG becomes a BMP beside it, logged
// in its place; files exempt from conversion stay JPEG.
#include "installer/install/ConnectedOperations.h"
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/InstallEngine.h"
#include "installer/install/JpegConversion.h"
#include "installer/system/win/BesideTestProgram.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Unloading deletes the library's file, as it does with the installer's temporary copy: the
// tests load a copy of the stand-in.
bool loadImageLibraryCopy(const std::string& copy)
{
    fs::copy_file(besideTestProgram("image_library_standin.dll"), copy);
    return gJpegHelper.load(copy.c_str());
}

} // namespace

TEST_F(FileInstallTest, JpegFilesBecomeBitmapsThroughTheImageLibrary)
{
    ASSERT_TRUE(loadImageLibraryCopy(file("image_library.dll")));
    const Bytes picture = sampleContent(4000, 19);
    nlohmann::json exempt = entry("keep.jpg", picture);
    exempt["flags"] = 0x100u;
    writePackage({{"files", {entry("pictures/photo.jpg", picture), exempt}}});
    gInstallerContext.packageOptions = kPackageJpegToBmp;
    gInstallOperations = connectedOperations();
    gInstallOperations.convertJpegFiles = convertJpegFiles;

    EXPECT_EQ(runInstallation(nullptr), 1);
    gInstallOperations = InstallOperations();
    gInstallerContext.packageOptions = 0;
    gPackageToc.jpegFiles = ByteString();
    gJpegHelper.unload();

    EXPECT_EQ(filesBelow(destination), (std::vector<std::string>{"keep.jpg", "pictures/photo.BMP"}));
    EXPECT_EQ(fileBytes(installed("pictures/photo.BMP")), picture);
    EXPECT_EQ(loggedFiles(), (std::vector<std::string>{installed("pictures/photo.jpg"), installed("keep.jpg"),
                                                       installed("pictures/photo.BMP")}));
}

namespace {

struct ShownBox {
    std::string caption;
    std::string text;
    std::atomic<bool> done{false};
};

BOOL CALLBACK findShownBox(HWND window, LPARAM found)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Waits for a message box of the given thread, notes its caption and text and closes it.
void readAndCloseBox(DWORD threadId, ShownBox& shown)
{
    for (int tries = 0; tries < 500 && !shown.done; ++tries) {
        Sleep(10);
        HWND box = nullptr;
        EnumThreadWindows(threadId, findShownBox, reinterpret_cast<LPARAM>(&box));
        if (!box)
            continue;
        char text[256] = {};
        GetWindowTextA(box, text, sizeof text);
        shown.caption = text;
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        shown.text = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        shown.done = true;
    }
}

} // namespace

TEST_F(FileInstallTest, ADecompressionErrorIsShownInTheLibrarysWordsAndStopsTheConversions)
{
    ASSERT_TRUE(loadImageLibraryCopy(file("image_library.dll")));
    const std::string broken = file("broken.jpg");
    const std::string later = file("later.jpg");
    writeText(broken, "bad picture");
    writeText(later, "\xFF\xD8 fine");
    gPackageToc.jpegFiles = ByteString((broken + "\r\n" + later + "\r\n").c_str());

    ShownBox shown;
    std::thread reader(readAndCloseBox, GetCurrentThreadId(), std::ref(shown));
    const bool converted = convertJpegFiles();
    reader.join();
    gPackageToc.jpegFiles = ByteString();
    gJpegHelper.unload();

    EXPECT_FALSE(converted);
    EXPECT_EQ(shown.caption, "JPEG Decompression error");
    EXPECT_EQ(shown.text, "Not a JPEG file: starts with 0x62 0x61");
    EXPECT_TRUE(fs::exists(broken)) << "a JPEG that was not converted stays";
    EXPECT_FALSE(fs::exists(file("broken.BMP")));
    EXPECT_FALSE(fs::exists(file("later.BMP"))) << "the conversions stop at the first failure";
    EXPECT_TRUE(loggedFiles().empty());
}

TEST_F(FileInstallTest, TheImageLibrarysProgressMovesThePhaseBarOverAllFiles)
{
    ASSERT_TRUE(loadImageLibraryCopy(file("image_library.dll")));
    const std::string first = file("first.jpg");
    const std::string second = file("second.jpg");
    writeText(first, std::string(1000, 'a'));
    writeText(second, std::string(3000, 'b'));
    gPackageToc.jpegFiles = ByteString((first + "\r\n" + second + "\r\n").c_str());
    gPackageToc.jpegBytes = 4000;
    gInstallerContext.packageOptions = kPackageJpegToBmp;
    // A phase of its own, so the bar starts again.
    gInstallRun.phase = 2;
    setProgress(0, 0);
    gInstallRun.phase = 3;
    std::vector<std::int32_t> bar;
    gInstallView.setPhaseBar = [&](std::int32_t percent) { bar.push_back(percent); };

    EXPECT_TRUE(convertJpegFiles());
    gInstallView = InstallView();
    gInstallerContext.packageOptions = 0;
    gPackageToc.jpegFiles = ByteString();
    gPackageToc.jpegBytes = 0;
    gJpegHelper.unload();

    // 50 % of the first file's 1000 bytes, all of it, then 50 % and 100 % of the next 3000.
    EXPECT_EQ(bar, (std::vector<std::int32_t>{13, 25, 63, 100}));
    EXPECT_EQ(loggedFiles(), (std::vector<std::string>{file("first.BMP"), file("second.BMP")}));
}
