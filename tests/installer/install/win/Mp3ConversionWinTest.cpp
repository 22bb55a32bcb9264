// The MP3 phase through the music library: each installed MP3 becomes a WAV beside it, logged in
// its place; a Cancel while a file is being decoded holds the library while the user is asked and,
// when the user leaves, stops it and logs the half-written WAV for the rollback.
#include "installer/install/ConnectedOperations.h"
#include "installer/install/FileInstallTestSupport.h"
#include "installer/install/InstallEngine.h"
#include "installer/install/Mp3Conversion.h"
#include "installer/system/win/BesideTestProgram.h"

#include <windows.h>

#include <optional>

namespace fs = std::filesystem;

namespace {

class Mp3ConversionTest : public FileInstallTest {
protected:
    Mp3ConversionTest()
    {
        savedTexts_ = {gLanguageTexts[129], gLanguageTexts[130], gLanguageTexts[131]};
        gLanguageTexts[129] = ByteString("Cannot write the WAV file");
        gLanguageTexts[130] = ByteString("Cannot open the MP3 file");
        gLanguageTexts[131] = ByteString("Cannot start the MP3 decoder");
        gInstallerContext.packageOptions = kPackageMp3ToWav;
        gInstallOperations = connectedOperations();
        gInstallOperations.convertMp3Files = convertMp3Files;
    }
    ~Mp3ConversionTest() override
    {
        gMp3Helper.shutDown();
        gMp3Helper.musicPath = ByteString();
        gMp3Helper.statusBytes = {1, 1, 1};
        if (standIn_)
            FreeLibrary(standIn_);
        gInstallOperations = InstallOperations();
        gInstallView = InstallView();
        gInstallerContext.packageOptions = 0;
        gPackageToc.mp3Files = ByteString();
        gPackageToc.mp3Bytes = 0;
        for (std::size_t i = 0; i < savedTexts_.size(); ++i)
            gLanguageTexts[129 + i] = savedTexts_[i];
    }

    // Loads a copy of the stand-in as the package's music library; a second reference keeps its
    // record of calls readable after the installer lets go of it.
    void loadLibrary(const char* library = "music_library_standin.dll")
    {
        const std::string copy = file(std::string("copy_") + library);
        fs::copy_file(besideTestProgram(library), copy);
        gMp3Helper.load(copy.c_str());
        standIn_ = LoadLibraryA(copy.c_str());
        ASSERT_NE(standIn_, nullptr);
    }
    std::string calls() const
    {
        const auto get = reinterpret_cast<const char* (*)()>(reinterpret_cast<void*>(GetProcAddress(standIn_, "StandInCalls")));
        return get ? get() : "";
    }
    // The library reaches the end of the file it is decoding.
    void finish() const
    {
        const auto get = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(standIn_, "StandInFinish")));
        get();
    }
    static std::string wavOf(const Bytes& mp3) { return "RIFF" + std::string(mp3.begin(), mp3.end()); }

    HMODULE standIn_ = nullptr;

private:
    std::vector<ByteString> savedTexts_;
};

TEST_F(Mp3ConversionTest, EachFileIsDecodedToAWavThatTakesItsPlace)
{
    loadLibrary();
    const Bytes first = sampleContent(3000, 7);
    const Bytes second = sampleContent(5000, 8);
    writePackage({{"files", {entry("music/a.mp3", first), entry("music/b.mp3", second)}}});
    gInstallView.pumpMessages = [this] { finish(); };

    EXPECT_EQ(runInstallation(nullptr), 1);

    EXPECT_EQ(calls(), "MP3Init(1) MP3SetExternalValues(1) "
                       "MP3SetDevice(1) MP3Open(1) MP3SetPriority(1) MP3Play(1) MP3Close(1) "
                       "MP3SetDevice(1) MP3Open(1) MP3SetPriority(1) MP3Play(1) MP3Close(1) MP3DeInit(1) ");
    EXPECT_EQ(filesBelow(destination), (std::vector<std::string>{"music/a.wav", "music/b.wav"}));
    EXPECT_EQ(textOf(installed("music/a.wav")), wavOf(first));
    EXPECT_EQ(textOf(installed("music/b.wav")), wavOf(second));
    EXPECT_EQ(loggedFiles(), (std::vector<std::string>{installed("music/a.mp3"), installed("music/b.mp3"),
                                                       installed("music/a.wav"), installed("music/b.wav")}));
    EXPECT_FALSE(gMp3Helper.conversionRunning);
    // The library writes its progress into the counter it was lent: the helper's own, which
    // lives as long as the library.
    EXPECT_EQ(gMp3Helper.progressCounter, 5000);
}

TEST_F(Mp3ConversionTest, CancelHoldsTheDecoderWhileAskingAndLeavingStopsIt)
{
    struct Case {
        bool leave;
        bool music;
        std::uint8_t result;
        const char* afterPlay;
    };
    const Case cases[] = {
        {false, false, 1, "MP3Suspend(1) MP3Resume(1) MP3Close(1) MP3DeInit(1) "},
        {true, false, 0, "MP3Suspend(1) MP3Resume(1) MP3Close(1) MP3DeInit(1) "},
        {true, true, 0, "MP3Suspend(1) MP3Resume(1) MP3Close(0) MP3Close(1) MP3DeInit(0) MP3DeInit(1) "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "leave " << c.leave << ", music " << c.music);
        loadLibrary();
        if (c.music) {
            gMp3Helper.musicPath = ByteString("music.mp3");
            ASSERT_TRUE(gMp3Helper.startMusic());
        }
        const Bytes song = sampleContent(4000, 9);
        writePackage({{"files", {entry("song.mp3", song)}}});
        bool asked = false;
        gInstallView.pumpMessages = [&] {
            if (!gMp3Helper.conversionRunning)
                return;
            if (!asked) {
                asked = true;
                EXPECT_EQ(confirmCancelDuringInstallation([&] { return c.leave; }), c.leave);
            } else {
                finish();
            }
        };
        const std::string before = c.music ? "MP3Init(0) MP3SetPriority(0) MP3SetDevice(0) MP3Open(0) MP3Play(0) " : "";

        EXPECT_EQ(runInstallation(nullptr), c.result);

        EXPECT_EQ(calls(), before + "MP3Init(1) MP3SetExternalValues(1) MP3SetDevice(1) MP3Open(1) "
                                    "MP3SetPriority(1) MP3Play(1) " + c.afterPlay);
        // Left or not, the WAV is logged once, so that a rollback removes even a half file.
        EXPECT_EQ(loggedFiles(), (std::vector<std::string>{installed("song.mp3"), installed("song.wav")}));
        const std::string wav = textOf(installed("song.wav"));
        if (c.leave) {
            EXPECT_EQ(wav.size(), 4u + song.size() / 2) << "the decoder stopped half way";
            EXPECT_TRUE(fs::exists(installed("song.mp3"))) << "the source stays while its WAV is unfinished";
            EXPECT_FALSE(gMp3Helper.loaded());
            EXPECT_FALSE(gMp3Helper.musicPlaying || gMp3Helper.conversionRunning);
        } else {
            EXPECT_EQ(wav, wavOf(song));
            EXPECT_FALSE(fs::exists(installed("song.mp3")));
        }

        gMp3Helper.shutDown();
        gMp3Helper.musicPath = ByteString();
        FreeLibrary(standIn_);
        standIn_ = nullptr;
        fs::remove_all(destination);
        fs::remove(file("copy_music_library_standin.dll"));
        resetInstallRun();
        gUninstallLog.files = ByteString();
        gPackageToc.mp3Files = ByteString();
    }
}

TEST_F(Mp3ConversionTest, ALibraryThatCannotDecodeEndsThePhaseWithItsMessage)
{
    struct Case {
        const char* library;
        const char* message;
    };
    const Case cases[] = {
        {nullptr, "Cannot start the MP3 decoder"},
        {"music_library_incomplete.dll", "Cannot open the MP3 file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library ? c.library : "no library");
        if (c.library)
            loadLibrary(c.library);
        writePackage({{"files", {entry("song.mp3", sampleContent(100, 3))}}});

        EXPECT_EQ(runInstallation(nullptr), 0);

        EXPECT_EQ(errorBoxes, (std::vector<std::string>{c.message}));
        EXPECT_TRUE(fs::exists(installed("song.mp3")));
        EXPECT_FALSE(fs::exists(installed("song.wav")));
        gMp3Helper.shutDown();
        if (standIn_)
            FreeLibrary(standIn_);
        standIn_ = nullptr;
        errorBoxes.clear();
        fs::remove_all(destination);
        resetInstallRun();
        gUninstallLog.files = ByteString();
        gPackageToc.mp3Files = ByteString();
    }
}

} // namespace
