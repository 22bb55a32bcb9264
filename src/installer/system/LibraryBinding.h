#pragma once
// A library copied out of the package into a temporary file, loaded, and bound by export names.
// Unloading frees it and deletes the copy.
#include "installer/system/DynamicLibrary.h"
#include "installer/text/ByteString.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

class LibraryBinding {
public:
    explicit LibraryBinding(std::initializer_list<const char*> exportNames);
    ~LibraryBinding();
    LibraryBinding(const LibraryBinding&) = delete;
    LibraryBinding& operator=(const LibraryBinding&) = delete;

    // True when already loaded. Otherwise remembers path as the copy, loads it (false when that
    // fails) and looks every export up.
    bool load(const char* path);
    // Frees a loaded library and deletes its copy; true.
    bool unload();

    bool loaded() const { return module_ != nullptr; }
    // The export at index of the names given at construction; null when missing or not loaded.
    LibraryExport entry(std::size_t index) const { return index < entries_.size() ? entries_[index] : nullptr; }
    LibraryExport entry(const char* name) const;
    const ByteString& copyPath() const { return copyPath_; }

private:
    std::vector<const char*> exportNames_;
    std::vector<LibraryExport> entries_;
    ByteString copyPath_;
    LibraryModule module_ = nullptr;
};

// The image library: converts the package's JPEG images to BMP files.
class JpegHelper : public LibraryBinding {
public:
    JpegHelper();
    // True when the library exports "JPGToBMPEx".
    bool load(const char* path);
    // "JPGToBMP" (JPEG path, BMP path); false when the library has no such export.
    bool convertJpegToBmp(const char* jpegPath, const char* bmpPath) const;
};

// The music library: plays the background music and converts MP3 files to WAV.
class Mp3Helper : public LibraryBinding {
public:
    Mp3Helper();
    // The library may still write a status byte until it is gone: it goes before they do.
    ~Mp3Helper();
    // True only when every export except "MP3Stop" was found.
    bool load(const char* path);

    // Plays musicPath on player 0 until the installer ends; false when a step fails (the music
    // then simply does not play).
    bool startMusic();
    // At exit: the last call for each active player, then the library is unloaded.
    void shutDown();

    // A call that takes only the player number ("MP3Init", "MP3Close", "MP3Suspend", ...); the
    // result taken as a byte, 0 when the library has no such function.
    std::uint8_t callPlayer(const char* exportName, int player) const;

    // The conversion player's steps. The progress callback gets the MP3 bytes done so far.
    using ConversionProgress = int (*)(std::int32_t bytes);
    // "MP3Init"(1), then "MP3SetExternalValues" with the callback and progressCounter at 0.
    bool beginConversions(ConversionProgress progress);
    enum class ConversionStart { Started, DeviceFailed, OpenFailed };
    // Decodes mp3Path into wavPath on player 1; once started the second status byte turns
    // non-zero when the whole file is written.
    ConversionStart startConversion(const char* wavFile, const char* mp3File);
    bool conversionFinished() const { return statusBytes[1] != 0; }

    // Player 0 playing the background music; player 1 converting an MP3 file.
    bool musicPlaying = false;
    bool conversionRunning = false;

    // Lent to the library: the first when the music starts, the second when a conversion starts.
    std::array<std::uint8_t, 3> statusBytes{1, 1, 1};
    // Lent to the library with the conversion's progress callback.
    std::int32_t progressCounter = 0;
    ByteString musicPath;
    ByteString wavPath;
};

// The package's plug-in library and its entry points; the calls themselves are the plug-in
// interface's.
class PluginLibrary : public LibraryBinding {
public:
    PluginLibrary();
    bool hasOnMessage() const { return entry("OnMessage") != nullptr; }
};
