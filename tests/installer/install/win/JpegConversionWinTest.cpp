// The JPEG phase through the image library: each installed JPEG becomes a BMP beside it, logged
// in its place; files exempt from conversion stay JPEG.
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/InstallEngine.h"
#include "installer/install/JpegConversion.h"
#include "installer/system/win/BesideTestProgram.h"

namespace fs = std::filesystem;

TEST_F(FileInstallTest, JpegFilesBecomeBitmapsThroughTheImageLibrary)
{
    ASSERT_TRUE(gJpegHelper.load(besideTestProgram("image_library_standin.dll").c_str()));
    const Bytes picture = sampleContent(4000, 19);
    nlohmann::json exempt = entry("keep.jpg", picture);
    exempt["flags"] = 0x100u;
    writePackage({{"files", {entry("pictures/photo.jpg", picture), exempt}}});
    gInstallerContext.packageOptions = kPackageJpegToBmp;
    gInstallOperations = InstallOperations();
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
