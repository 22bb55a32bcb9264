#include "installer/system/LibraryBinding.h"

#include "installer/system/FileSystem.h"

#include <cstring>

LibraryBinding::LibraryBinding(std::initializer_list<const char*> exportNames)
    : exportNames_(exportNames), entries_(exportNames.size(), nullptr)
{
}

LibraryBinding::~LibraryBinding()
{
    unload();
}

bool LibraryBinding::load(const char* path)
{
    if (module_)
        return true;
    copyPath_.assignCStr(path);
    module_ = loadLibraryFile(path);
    if (!module_)
        return false;
    for (std::size_t i = 0; i < exportNames_.size(); ++i)
        entries_[i] = findLibraryExport(module_, exportNames_[i]);
    return true;
}

bool LibraryBinding::unload()
{
    if (!module_)
        return true;
    freeLibraryModule(module_);
    module_ = nullptr;
    entries_.assign(entries_.size(), nullptr);
    if (!copyPath_.empty())
        forceDelete(copyPath_.cStr());
    return true;
}

LibraryExport LibraryBinding::entry(const char* name) const
{
    for (std::size_t i = 0; i < exportNames_.size(); ++i)
        if (std::strcmp(exportNames_[i], name) == 0)
            return entries_[i];
    return nullptr;
}

namespace {

#if defined(_WIN32)
#define KV_LIBRARY_STDCALL __stdcall
#else
#define KV_LIBRARY_STDCALL
#endif

using JpegToBmp = int(KV_LIBRARY_STDCALL*)(const char* jpegPath, const char* bmpPath);

} // namespace

JpegHelper::JpegHelper() : LibraryBinding({"GetDllVersion", "Blit", "JPGToBMP", "JPGToBMPEx"}) {}

bool JpegHelper::load(const char* path)
{
    if (loaded())
        return true;
    return LibraryBinding::load(path) && entry("JPGToBMPEx") != nullptr;
}

bool JpegHelper::convertJpegToBmp(const char* jpegPath, const char* bmpPath) const
{
    const auto convert = reinterpret_cast<JpegToBmp>(entry("JPGToBMP"));
    if (!convert)
        return false;
    convert(jpegPath, bmpPath);
    return true;
}

Mp3Helper::Mp3Helper()
    : LibraryBinding({"MP3Close", "MP3DeInit", "MP3GetCurrentPos", "MP3GetLength", "MP3GetMPEG_Args", "MP3GetPlayer",
                      "MP3GetPlayerMode", "MP3Init", "MP3Open", "MP3Pause", "MP3Play", "MP3SetDevice",
                      "MP3SetExternalValues", "MP3SetPriority", "MP3Stop", "MP3Suspend", "MP3Resume"})
{
}

bool Mp3Helper::load(const char* path)
{
    if (loaded())
        return true;
    if (!LibraryBinding::load(path))
        return false;
    constexpr std::size_t kStopIndex = 14;
    for (std::size_t i = 0; i < 17; ++i)
        if (i != kStopIndex && !entry(i))
            return false;
    return true;
}

PluginLibrary::PluginLibrary()
    : LibraryBinding({"AdvancedEntry", "EntryPoint0", "EntryPoint1", "EntryPoint1_5", "EntryPoint2", "EntryPoint3",
                      "EntryPoint4", "EntryPoint5", "EntryPoint6", "EntryPoint7", "EntryPoint8", "EntryPoint9",
                      "EntryPoint10", "EntryPoint11", "EntryPoint12", "EntryPoint13", "EntryPointCustom",
                      "SystemInformation", "OnMessage"})
{
}

namespace {

constexpr int kMusicPlayer = 0;
constexpr int kConversionPlayer = 1;
constexpr int kSoundOutput = 0;

// The music library's functions use the caller-cleans convention; a tested result is a byte.
using PlayerCall = int (*)(int player);
using PlayerSetting = int (*)(int player, int value);
using SetDevice = int (*)(int player, int device, const char* path);
using OpenFile = int (*)(int player, const char* path);
using Play = int (*)(int player, int, int, std::uint8_t* status);
using SetExternalValues = int (*)(int player, int, Mp3Helper::ConversionProgress progress, std::int32_t* counter);
constexpr int kWaveFile = 2;

bool succeeded(int result)
{
    return static_cast<std::uint8_t>(result) != 0;
}

} // namespace

Mp3Helper::~Mp3Helper()
{
    shutDown();
}

bool Mp3Helper::startMusic()
{
    const auto init = reinterpret_cast<PlayerCall>(entry("MP3Init"));
    const auto priority = reinterpret_cast<PlayerSetting>(entry("MP3SetPriority"));
    const auto device = reinterpret_cast<SetDevice>(entry("MP3SetDevice"));
    const auto open = reinterpret_cast<OpenFile>(entry("MP3Open"));
    const auto play = reinterpret_cast<Play>(entry("MP3Play"));
    if (!init || !priority || !device || !open || !play || musicPath.empty())
        return false;
    if (!succeeded(init(kMusicPlayer)))
        return false;
    musicPlaying = true;
    priority(kMusicPlayer, 1);
    if (!succeeded(device(kMusicPlayer, kSoundOutput, nullptr)) || !succeeded(open(kMusicPlayer, musicPath.cStr())))
        return false;
    play(kMusicPlayer, 0, 0, &statusBytes[0]);
    return true;
}

void Mp3Helper::shutDown()
{
    if (loaded()) {
        if (const auto deinit = reinterpret_cast<PlayerCall>(entry("MP3DeInit"))) {
            if (musicPlaying)
                deinit(kMusicPlayer);
            if (conversionRunning)
                deinit(kConversionPlayer);
        }
    }
    musicPlaying = false;
    conversionRunning = false;
    unload();
}

std::uint8_t Mp3Helper::callPlayer(const char* exportName, int player) const
{
    const auto call = reinterpret_cast<PlayerCall>(entry(exportName));
    return call ? static_cast<std::uint8_t>(call(player)) : 0;
}

bool Mp3Helper::beginConversions(ConversionProgress progress)
{
    const auto externalValues = reinterpret_cast<SetExternalValues>(entry("MP3SetExternalValues"));
    if (!externalValues || !succeeded(callPlayer("MP3Init", kConversionPlayer)))
        return false;
    progressCounter = 0;
    externalValues(kConversionPlayer, 1, progress, &progressCounter);
    return true;
}

Mp3Helper::ConversionStart Mp3Helper::startConversion(const char* wavFile, const char* mp3File)
{
    const auto priority = reinterpret_cast<PlayerSetting>(entry("MP3SetPriority"));
    const auto device = reinterpret_cast<SetDevice>(entry("MP3SetDevice"));
    const auto open = reinterpret_cast<OpenFile>(entry("MP3Open"));
    const auto play = reinterpret_cast<Play>(entry("MP3Play"));
    if (!device || !succeeded(device(kConversionPlayer, kWaveFile, wavFile)))
        return ConversionStart::DeviceFailed;
    if (!open || !succeeded(open(kConversionPlayer, mp3File)) || !priority || !play)
        return ConversionStart::OpenFailed;
    priority(kConversionPlayer, 1);
    wavPath.assignCStr(wavFile);
    play(kConversionPlayer, 0, 0, &statusBytes[1]);
    conversionRunning = true;
    return ConversionStart::Started;
}
