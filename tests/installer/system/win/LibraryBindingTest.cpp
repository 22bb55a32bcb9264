#include "installer/system/LibraryBinding.h"

#include "installer/system/win/BesideTestProgram.h"
#include "installer/text/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Libraries are loaded from a temporary copy, as the installer does with the package's members.
std::string copyOf(const TempFolder& folder, const char* library)
{
    const std::string copy = folder.file(std::string("copy_") + library);
    std::filesystem::copy_file(besideTestProgram(library), copy);
    return copy;
}

TEST(LibraryBindingTest, ImageLibraryConvertsAndItsCopyIsDeletedWhenUnloaded)
{
    TempFolder folder;
    const std::string copy = copyOf(folder, "image_library_standin.dll");
    {
        JpegHelper helper;
        ASSERT_TRUE(helper.load(copy.c_str()));
        EXPECT_TRUE(helper.load(copy.c_str())) << "a second load finds it loaded";
        EXPECT_NE(helper.entry("GetDllVersion"), nullptr);

        const std::string jpeg = folder.file("page.jpg");
        std::ofstream(jpeg, std::ios::binary) << "\xFF\xD8 picture";
        const std::string bmp = folder.file("page.bmp");
        ASSERT_TRUE(helper.convertJpegToBmp(jpeg.c_str(), bmp.c_str()));
        EXPECT_TRUE(std::filesystem::exists(bmp));

        EXPECT_TRUE(helper.unload());
        EXPECT_FALSE(helper.loaded());
        EXPECT_EQ(helper.entry("JPGToBMP"), nullptr);
        EXPECT_FALSE(std::filesystem::exists(copy));
    }
}

TEST(LibraryBindingTest, MusicLibraryNeedsEveryFunctionButStop)
{
    TempFolder folder;
    Mp3Helper complete;
    EXPECT_TRUE(complete.load(copyOf(folder, "music_library_standin.dll").c_str()))
        << "the stand-in has no \"MP3Stop\", which may be missing";
    Mp3Helper incomplete;
    EXPECT_FALSE(incomplete.load(copyOf(folder, "music_library_incomplete.dll").c_str()));
}

TEST(LibraryBindingTest, BackgroundMusicPlaysOnPlayerZeroAndEndsWithItsLastCallAtExit)
{
    TempFolder folder;
    Mp3Helper helper;
    const std::string copy = copyOf(folder, "music_library_standin.dll");
    ASSERT_TRUE(helper.load(copy.c_str()));
    // A second reference keeps the stand-in's record readable after the helper lets go of it.
    HMODULE standIn = LoadLibraryA(copy.c_str());
    const auto calls = reinterpret_cast<const char* (*)()>(reinterpret_cast<void*>(GetProcAddress(standIn, "StandInCalls")));
    ASSERT_NE(calls, nullptr);
    EXPECT_FALSE(helper.startMusic()) << "no music file";
    EXPECT_FALSE(helper.musicPlaying);
    helper.musicPath = ByteString("music.mp3");
    ASSERT_TRUE(helper.startMusic());
    EXPECT_TRUE(helper.musicPlaying);
    EXPECT_STREQ(calls(), "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) MP3Open(0) MP3Play(0) ");
    // The library holds the first status byte while it plays.
    EXPECT_EQ(helper.statusBytes[0], 0);
    helper.conversionRunning = true;
    helper.shutDown();
    EXPECT_STREQ(calls(), "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) MP3Open(0) MP3Play(0) MP3DeInit(0) MP3DeInit(1) ");
    EXPECT_FALSE(helper.loaded());
    EXPECT_FALSE(helper.musicPlaying || helper.conversionRunning);
    FreeLibrary(standIn);
}

TEST(LibraryBindingTest, DestroyingABindingUnloadsItAndDeletesTheCopy)
{
    TempFolder folder;
    const std::string copy = copyOf(folder, "plugin_standin.dll");
    {
        PluginLibrary plugin;
        ASSERT_TRUE(plugin.load(copy.c_str()));
        EXPECT_TRUE(plugin.hasOnMessage());
        EXPECT_NE(plugin.entry("EntryPoint0"), nullptr);
        EXPECT_EQ(plugin.entry("EntryPoint13"), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(copy));
}

TEST(LibraryBindingTest, AFileThatIsNoLibraryDoesNotLoad)
{
    TempFolder folder;
    const std::string notALibrary = folder.file("broken.dll");
    std::ofstream(notALibrary, std::ios::binary) << "MZ but nothing more";
    JpegHelper helper;
    EXPECT_FALSE(helper.load(notALibrary.c_str()));
    EXPECT_FALSE(helper.loaded());
}

} // namespace
