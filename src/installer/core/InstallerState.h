#pragma once
// The installer's process-wide state: a fixed set of objects that exist before the entry point
// and until the process ends, built in the order they are defined in InstallerState.cpp and
// destroyed in the reverse order. Later parts of the installer add their fields here.
//
// The state is portable: window, module, bitmap and device-context handles are kept as opaque
// pointers and converted at the Windows edge.
#include "installer/core/ByteString.h"
#include "installer/core/InstallerVariable.h"
#include "installer/core/LibraryBinding.h"
#include "installer/core/PackageTables.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

using OpaqueHandle = void*;

struct AreaRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The fields of the system's version report that the installer keeps.
struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;
    std::array<char, 128> servicePack{};
};

// A page image decoded to a temporary bitmap file.
struct PageImage {
    std::uint32_t id = 0;
    ByteString path;
};

// The product's package as read from the table of contents, and what the run adds to it.
struct PackageToc {
    // The installation folder ("<InstallDir>"), the program-group name ("<ShortcutDir>") and the
    // uninstaller name template ("<UninstallerName>").
    ByteString installDir;
    ByteString shortcutDir;
    ByteString uninstallerNameTemplate;
    // The package's number of the language in use ("<LanguageID>").
    std::int32_t languageNumber = 0;
    ByteString fontsAdded;
    std::uint16_t languageSetLangId = 0;
    std::int32_t languagePreselection = -1;
    std::uint64_t freeSpace = 0;
    std::uint64_t bytesRequired = 0;
    std::int32_t phase = 0;
    // 1 minimal, 2 typical, 4 custom.
    std::int32_t installationType = 2;
    std::uint64_t jpegBytes = 0;
    std::uint64_t mp3Bytes = 0;
    std::uint64_t otherBytes = 0;
    ByteString mp3Files;
    ByteString jpegFiles;
    ByteString resourceDirectory;
    ByteString savedUninstaller;
    // The page sequence of the wizard, from the package's template table.
    std::vector<TemplateEntry> pageSequence;
    // Read as pairs: an image identifier at an even index stands for the one that follows it.
    std::vector<std::uint32_t> identifierList;
    std::vector<PageImage> imageList;
    // The slideshow's image paths, which may hold variables.
    std::vector<ByteString> slideshowPaths;
    // The variables in list order, which is the order of expansion. Entries keep their address
    // until the process ends: the plug-in holds the texts it is given.
    std::vector<std::unique_ptr<InstallerVariable>> variables;
};

struct InstallerContext {
    AreaRect clientArea;
    OpaqueHandle mainWindow = nullptr;
    OpaqueHandle instance = nullptr;
    OpaqueHandle dialogImage = nullptr;
    OpaqueHandle screenDc = nullptr;
    std::uint32_t packageOptions = 0;
    std::uint32_t optionWord = 0;
    std::uint32_t userInfoOptions = 0;
    std::int32_t defaultOverwriteMode = 0;
    std::uint8_t unicode = 0;
    ByteString programToStart;
    ByteString readmeToOpen;
    ByteString userName;
    ByteString organisation;
    OsVersion osVersion;
    std::int32_t systemPageOnlyOnProblems = 0;
    std::int32_t systemProbesState = 0;
    ByteString minimumJavaVersion;
    ByteString thirdFinishItem;
};

// The background window's appearance; its title is also the message boxes' fallback caption.
struct BackgroundStyle {
    ByteString windowTitle;
    std::uint32_t flags = 0;
};

// Temporary copies made from the package's members, deleted at exit.
struct TempFilePaths {
    ByteString imageLibrary;
    ByteString musicLibrary;
    ByteString pluginLibrary;
    ByteString pageImageBitmap;
    ByteString musicFile;
};

// The folder values, in the order the variables list them.
enum FolderValue : std::size_t {
    kWindowsDir, kWindowsDirShort, kProgramFiles, kProgramFilesShort, kStartMenu, kStartMenuShort,
    kProgramsDir, kProgramsDirShort, kStartUp, kStartUpShort, kDesktop, kDesktopShort, kFontDir,
    kStartMenuNt, kProgramsDirNt, kStartUpNt, kDesktopNt, kCommonFiles, kCommonFilesShort,
    kSystemDir, kSystemDirShort, kTempDir, kTempDirShort, kMyDocuments, kSetupDir, kSystemDrive,
    kDate, kFolderValueCount
};

struct TemplatePage;

struct MainInstaller {
    OpaqueHandle mainWindow = nullptr;
    std::array<ByteString, kFolderValueCount> folders;
    ByteString dotNetDir;
    TemplatePage* currentPage = nullptr;
};

struct UninstallLog {
    // The uninstaller program unpacked from the package, to which the uninstall data is appended.
    ByteString templatePath;
    // The folders the installation created, one per CR LF line, in the order of creation.
    ByteString createdFolders;
};

struct Background {
    OpaqueHandle savedAreaDc = nullptr;
};

constexpr std::size_t kLanguageTextCount = 200;

// The run's switches, all clear at start.
struct InstallerFlags {
    bool silent = false;
    bool acceptLicense = false;
    bool revert = false;
    bool localCopy = false;
};

extern PackageToc gPackageToc;
extern InstallerContext gInstallerContext;
extern BackgroundStyle gBackgroundStyle;
extern TempFilePaths gTempFilePaths;
extern ByteString gPluginCopyPath;
extern ByteString gModulePath;
extern ByteString gPackagePath;
extern ByteString gPackageHeader;
extern ByteString gSetupTitle;
extern MainInstaller gMainInstaller;
extern UninstallLog gUninstallLog;
extern Background gBackground;
extern Mp3Helper gMp3Helper;
extern JpegHelper gJpegHelper;
extern PluginLibrary gPluginLibrary;
extern std::array<ByteString, kLanguageTextCount> gLanguageTexts;
extern InstallerFlags gFlags;
