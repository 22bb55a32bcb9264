// The start-up step that unpacks the package header's members: a full package, a silent run, and
// each member that can fail with its code.
#include "installer/package/PackageResources.h"

#include "installer/package/PackageLocate.h"
#include "installer/state/InstallerState.h"
#include "installer/system/FileSystem.h"
#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"
#include "installer/variables/VariableTestSupport.h"

#include "PackageBuilder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string text(const ByteString& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

std::string fileText(const ByteString& path)
{
    std::ifstream in(text(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const char* const kFont = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

// Everything the step may set, put back afterwards; the files it made are deleted. Temporary
// files go to a folder of the test's own: test programs run side by side.
class ResourceState {
public:
    ResourceState()
    {
        reset();
        const std::string temp = folder_.file("temp\\");
        fs::create_directories(temp);
        SetEnvironmentVariableA("TMP", temp.c_str());
    }
    ~ResourceState()
    {
        SetEnvironmentVariableA("TMP", nullptr);
        for (const PageImage& image : gPackageToc.imageList)
            forceDelete(text(image.path).c_str());
        removeUiFonts();
        gMp3Helper.unload();
        gJpegHelper.unload();
        gPluginLibrary.unload();
        for (ByteString* path : {&gTempFilePaths.pageImageBitmap, &gTempFilePaths.musicFile, &gUninstallLog.templatePath,
                                 &gTempFilePaths.pluginLibrary, &gTempFilePaths.musicLibrary, &gTempFilePaths.imageLibrary})
            if (!path->empty())
                forceDelete(path->cStr());
        reset();
    }

    // Writes the package and makes it the one the installer reads.
    void usePackage(const nlohmann::json& description)
    {
        const std::string path = folder_.file("setup.exe");
        writeWholeFile(path, buildInstallerWithPackage(Bytes(64, 0x90), description));
        gPackagePath.assignCStr(path.c_str());
        ASSERT_EQ(locatePackage(), kLocateOk);
    }

private:
    static void reset()
    {
        gPackageToc.pageSequence.clear();
        gPackageToc.identifierList.clear();
        gPackageToc.imageList.clear();
        gPackageToc.slideshowPaths.clear();
        gPackageToc.fontsAdded = ByteString();
        gPackageToc.productName = ByteString();
        gTempFilePaths = TempFilePaths();
        gUninstallLog.templatePath = ByteString();
        gPluginCopyPath = ByteString();
        gSetupTitle = ByteString();
        gInstallerContext.packageOptions = 0;
        gInstallerContext.optionWord = 0;
        gFlags.silent = false;
        for (ByteString& entry : gLanguageTexts)
            entry = ByteString();
    }

    CleanVariableState variables_;
    TempFolder folder_;
};

nlohmann::json fileMember(const std::string& path)
{
    return {{"file", path}};
}

nlohmann::json fullPackage()
{
    return {
        {"templates", {{{"template", "page one"}, {"pageType", 2u}}, {{"template", "install"}, {"pageType", 13u}}}},
        {"imageIdentifiers", {1u, 7u}},
        {"images", {{{"id", 7u}, {"text", "BM first image"}}, {{"id", 8u}, {"text", "BM second image"}}}},
        {"fonts", {fileMember(kFont)}},
        {"imageLibrary", fileMember(besideTestProgram("image_library_standin.dll"))},
        {"musicLibrary", fileMember(besideTestProgram("music_library_standin.dll"))},
        {"pluginLibrary", fileMember(besideTestProgram("plugin_standin.dll"))},
        {"pageImage", {{"kind", 2u}, {"hex", "ffd8ffe04a504547"}}},
        {"backgroundMusic", {{"text", "ID3 music"}}},
        {"slideshow", {"<ResourceDir>\\slide1.jpg"}},
        {"languageSets", {{"default", 1u}, {"sets", {{{"lines", {"Back"}}},
                                                 {{"number", 9u}, {"lines", {"", "", "", "", "", "", "", "", "Setup of %s", "Update of %s"}}}}}}},
        {"uninstaller", {{"text", "MZ uninstaller"}}},
    };
}

TEST(PackageResources, AFullPackageIsUnpackedIntoTemporaryFiles)
{
    ResourceState state;
    state.usePackage(fullPackage());
    gPackageToc.productName = ByteString("Tool");

    ASSERT_EQ(loadPackageResources(), kResourcesLoaded);

    ASSERT_EQ(gPackageToc.pageSequence.size(), 2u);
    EXPECT_EQ(gPackageToc.pageSequence[1].pageType, 13);
    EXPECT_EQ(gPackageToc.identifierList, (std::vector<std::uint32_t>{1, 7}));
    ASSERT_EQ(gPackageToc.imageList.size(), 2u);
    EXPECT_EQ(gPackageToc.imageList[1].id, 8u);
    EXPECT_EQ(fileText(gPackageToc.imageList[1].path), "BM second image");
    EXPECT_FALSE(gPackageToc.fontsAdded.empty());

    EXPECT_TRUE(gJpegHelper.loaded());
    EXPECT_TRUE(gMp3Helper.loaded());
    EXPECT_TRUE(gPluginLibrary.loaded());
    EXPECT_EQ(text(gPluginCopyPath), text(gTempFilePaths.pluginLibrary));
    EXPECT_NE(gInstallerContext.packageOptions & kPackagePluginHasOnMessage, 0u);

    // The stand-in image library "converts" by copying; the JPEG copy is gone afterwards.
    EXPECT_EQ(fileText(gTempFilePaths.pageImageBitmap), std::string("\xFF\xD8\xFF\xE0JPEG", 8));
    EXPECT_EQ(fileText(gTempFilePaths.musicFile), "ID3 music");
    EXPECT_EQ(text(gMp3Helper.musicPath), text(gTempFilePaths.musicFile));

    ASSERT_EQ(gPackageToc.slideshowPaths.size(), 1u);
    EXPECT_EQ(text(gPackageToc.slideshowPaths[0]), "<ResourceDir>\\slide1.jpg");
    EXPECT_EQ(gPackageToc.languageNumber, 9);
    EXPECT_EQ(text(gSetupTitle), "Setup of Tool");
    EXPECT_EQ(fileText(gUninstallLog.templatePath), "MZ uninstaller");
}

// A page image stored as a plain bitmap (not packed, not JPEG) is copied as it is.
TEST(PackageResources, AnUncompressedBitmapPageImageIsKept)
{
    ResourceState state;
    nlohmann::json package = fullPackage();
    package["pageImage"] = {{"kind", 0u}, {"storage", "raw"}, {"text", "BM plain bitmap"}};
    state.usePackage(package);
    ASSERT_EQ(loadPackageResources(), kResourcesLoaded);
    EXPECT_EQ(fileText(gTempFilePaths.pageImageBitmap), "BM plain bitmap");
}

TEST(PackageResources, AnUpdatePackageTakesItsOwnTitle)
{
    ResourceState state;
    state.usePackage(fullPackage());
    gPackageToc.productName = ByteString("Tool");
    gInstallerContext.packageOptions = kPackageUpdate;
    ASSERT_EQ(loadPackageResources(), kResourcesLoaded);
    EXPECT_EQ(text(gSetupTitle), "Update of Tool");
}

TEST(PackageResources, FontsAreAddedAndListedInPairs)
{
    ResourceState state;
    state.usePackage({{"fonts", {fileMember(kFont)}}});
    ASSERT_TRUE(installUiFonts());
    std::int32_t position = 0;
    ByteString resourceFile, fontFile;
    gPackageToc.fontsAdded.nextLine(&position, resourceFile);
    gPackageToc.fontsAdded.nextLine(&position, fontFile);
    EXPECT_TRUE(text(resourceFile).ends_with(".FOT"));
    EXPECT_TRUE(text(fontFile).ends_with(".TTF"));
    EXPECT_EQ(fs::file_size(text(fontFile)), fs::file_size(kFont));
    EXPECT_FALSE(gPackageToc.fontsAdded.hasMore(position));
}

TEST(PackageResources, ASilentRunLoadsOnlyTheLibrariesAndTheUninstaller)
{
    ResourceState state;
    nlohmann::json package = fullPackage();
    // Members a silent run must not touch are broken: reading any of them would fail.
    package["images"] = {{{"id", 7u}, {"text", "x"}, {"corrupt", "crc"}}};
    package["fonts"] = {{{"text", "x"}, {"corrupt", "header"}}};
    package["pageImage"] = {{"kind", 1u}, {"text", "x"}, {"corrupt", "crc"}};
    package.erase("languageSets");
    state.usePackage(package);
    gFlags.silent = true;

    ASSERT_EQ(loadPackageResources(), kResourcesLoaded);
    EXPECT_TRUE(gPackageToc.pageSequence.empty());
    EXPECT_TRUE(gPackageToc.imageList.empty());
    EXPECT_TRUE(gPackageToc.fontsAdded.empty());
    EXPECT_TRUE(gTempFilePaths.pageImageBitmap.empty());
    EXPECT_TRUE(gTempFilePaths.musicFile.empty());
    EXPECT_TRUE(gPackageToc.slideshowPaths.empty());
    EXPECT_TRUE(gMp3Helper.loaded() && gJpegHelper.loaded() && gPluginLibrary.loaded());
    EXPECT_FALSE(gUninstallLog.templatePath.empty());
}

TEST(PackageResources, EachFailingMemberStopsWithItsCode)
{
    const nlohmann::json broken = {{"text", "damaged"}, {"corrupt", "crc"}};
    const nlohmann::json notALibrary = {{"text", "MZ not a library"}};
    struct Case {
        const char* what;
        const char* member;
        nlohmann::json value;
        int code;
    };
    const Case cases[] = {
        {"a page image", "images", {{{"id", 1u}, {"text", "x"}, {"corrupt", "crc"}}}, kPageImageNotDecoded},
        {"a dialog font", "fonts", {broken}, kDialogFontNotDecoded},
        {"the music library's member", "musicLibrary", broken, kMusicLibraryNotDecoded},
        {"a music library that does not load", "musicLibrary", notALibrary, kMusicLibraryNotLoaded},
        {"a music library without all functions", "musicLibrary",
         fileMember(besideTestProgram("music_library_incomplete.dll")), kMusicLibraryNotLoaded},
        {"the image library's member", "imageLibrary", broken, kImageLibraryNotDecoded},
        {"an image library that does not load", "imageLibrary", notALibrary, kImageLibraryNotLoaded},
        {"a bitmap page image", "pageImage", {{"kind", 1u}, {"text", "x"}, {"corrupt", "length"}}, kBitmapPageImageNotDecoded},
        {"the plug-in's member", "pluginLibrary", broken, kPluginNotDecoded},
        {"a plug-in that does not load", "pluginLibrary", notALibrary, kPluginNotLoaded},
        {"the uninstaller's member", "uninstaller", broken, kUninstallerNotDecoded},
    };
    for (const Case& c : cases) {
        ResourceState state;
        nlohmann::json package = fullPackage();
        package[c.member] = c.value;
        state.usePackage(package);
        EXPECT_EQ(loadPackageResources(), c.code) << c.what;
        if (c.code == kUninstallerNotDecoded) {
            EXPECT_TRUE(gUninstallLog.templatePath.empty()) << "the partial uninstaller is deleted";
        }
    }
}

TEST(PackageResources, MembersThatLieOutsideTheFileOrAreMissingFail)
{
    struct Case {
        const char* what;
        std::function<void(nlohmann::json&)> change;
        int code;
    };
    const Case cases[] = {
        {"a JPEG page image past the end of the file",
         [](nlohmann::json& p) { p["header"] = {{"fields", {{"140", 100000000u}}}}; }, kJpegPageImageNotCopied},
        {"music past the end of the file",
         [](nlohmann::json& p) { p["header"] = {{"fields", {{"124", 100000000u}}}}; }, kMusicNotCopied},
        {"no language sets", [](nlohmann::json& p) { p.erase("languageSets"); }, kDefaultLanguageSetNotLoaded},
        {"a default set that is not there",
         [](nlohmann::json& p) { p["languageSets"]["default"] = 5u; }, kDefaultLanguageSetNotLoaded},
        {"a template table past the end of the file",
         [](nlohmann::json& p) { p["header"] = {{"fields", {{"16", 1000000u}}}}; }, kPageTemplatesNotRead},
    };
    for (const Case& c : cases) {
        ResourceState state;
        nlohmann::json package = fullPackage();
        c.change(package);
        state.usePackage(package);
        EXPECT_EQ(loadPackageResources(), c.code) << c.what;
    }
}

TEST(PackageResources, NoUninstallerIsUnpackedWhenThePackageWantsNone)
{
    ResourceState state;
    state.usePackage(fullPackage());
    gInstallerContext.optionWord = kOptionNoUninstaller;
    ASSERT_EQ(loadPackageResources(), kResourcesLoaded);
    EXPECT_TRUE(gUninstallLog.templatePath.empty());
}

} // namespace
