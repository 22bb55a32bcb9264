#pragma once
// The installer's process-wide state: a fixed set of objects that exist before the entry point
// and until the process ends, built in the order they are defined in InstallerState.cpp and
// destroyed in the reverse order. Later parts of the installer add their fields here.
//
// The state is portable: window, module, bitmap and device-context handles are kept as opaque
// pointers and converted at the Windows edge.
#include "installer/state/InstallerVariable.h"
#include "installer/state/TemplateEntry.h"
#include "installer/state/TocEntries.h"
#include "installer/system/LibraryBinding.h"
#include "installer/text/ByteString.h"

#include <array>
#include <cstddef>
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

constexpr std::int32_t kMinimalInstallation = 1;
constexpr std::int32_t kTypicalInstallation = 2;
constexpr std::int32_t kCustomInstallation = 4;

constexpr bool isInstallationType(std::int32_t value)
{
    return value == kMinimalInstallation || value == kTypicalInstallation || value == kCustomInstallation;
}

// A page image decoded to a temporary bitmap file.
struct PageImage {
    std::uint32_t id = 0;
    ByteString path;
};

// One item of the components page, in tree order: whether it was checked and its shown name
// (one tab per depth level in front).
struct ComponentChoice {
    bool checked = false;
    ByteString name;
};

// A file to register after all files and registry values are written; the queue runs by
// falling priority, equal priorities in the order queued.
struct QueuedRegistration {
    std::int32_t priority = 0;
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
    // kMinimalInstallation, kTypicalInstallation or kCustomInstallation.
    std::int32_t installationType = 2;
    std::uint64_t jpegBytes = 0;
    std::uint64_t mp3Bytes = 0;
    std::uint64_t otherBytes = 0;
    ByteString mp3Files;
    ByteString jpegFiles;
    // The components page's choices; empty until that page was saved.
    std::vector<ComponentChoice> componentChoices;
    ByteString resourceDirectory;
    // In extractor mode, every path the run unpacked (files and converted images).
    std::vector<ByteString> unpackedFiles;
    ByteString savedUninstaller;
    // Renames for the next restart: target path, NUL, temporary path, NUL; for each pair.
    ByteString renamePairs;
    std::vector<QueuedRegistration> registrationQueue;
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

    // Read from the table of contents.
    ByteString productId;
    ByteString productName;
    // The two after variable expansion, usable in file and mutex names.
    ByteString fileNameSafeProductId;
    ByteString fileNameSafeProductName;
    // A product whose registered version the system report shows: its key below
    // HKEY_LOCAL_MACHINE\Software and its display name.
    ByteString reportedProductKey;
    ByteString reportedProductName;
    // Where a previous installation left its folder.
    std::uint32_t destinationRegistryRoot = 0;
    ByteString destinationKey;
    ByteString destinationValueName;
    // Where the installed product registers its version, and which versions an update replaces
    // (a "|"-separated list or a lower bound).
    std::uint32_t productRegistryRoot = 0;
    ByteString productKey;
    ByteString versionValueName;
    ByteString updatableVersions;
    ByteString versionToInstall;
    ByteString versionShown;
    ByteString pluginSettings;
    ByteString languagePageCaption;
    ByteString languagePagePrompt;
    std::int32_t languagePageAutoLoad = 0;
    ByteString uninstallDataSettings;
    // Extractor mode unpacks the package and runs the inner installer found at its path.
    std::int32_t extractorMode = 0;
    ByteString innerInstallerPath;
    std::int32_t runFromFolderMode = 0;
    std::int32_t autorun = 0;
    std::int32_t registryView64 = 0;
    // A failed registry-access test only sets "<InsufficientPrivileges>".
    std::int32_t privilegesQuiet = 0;
    // An update package installs normally when the product to update is missing.
    std::int32_t normalInstallFallback = 0;
    // The license page's Next button shows language text 7.
    std::int32_t licenseNextButtonText = 0;
    // A silent run needs "/ACCEPTLICENSE".
    std::int32_t silentRunNeedsLicense = 0;
    // HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS; the count is of every
    // value and key below them.
    std::array<RegistryNode, 4> registryRoots;
    std::int32_t registryEntryCount = 0;
    std::vector<ShortcutEntry> shortcuts;
    std::vector<IniEntry> iniEntries;
    std::vector<TextFileEntry> textFileEntries;
    std::vector<StageFileOp> stageFileOps;
    std::vector<StageAction> stageActions;
    std::vector<Prerequisite> prerequisites;
};

// The bits of the option word of InstallerContext.
enum OptionBit : std::uint32_t {
    kOptionConfirmUserInfo = 1u << 0,
    kOptionRestartAtEnd = 1u << 1,
    kOptionOpenReadme = 1u << 2,
    kOptionStartProgram = 1u << 3,
    kOptionBackUpReplacedFiles = 1u << 4,
    kOptionComponentTreeLines = 1u << 5,
    kOptionTwoProgressBars = 1u << 6,
    kOptionUserInfoSetting = 1u << 7,
    kOptionLicensePlainText = 1u << 8,
    kOptionReadmePlainText = 1u << 9,
    kOptionConfirmBeforeInstall = 1u << 12,
    kOptionUpdatableVersionList = 1u << 13,
    kOptionStartProgramPreselected = 1u << 14,
    kOptionOpenReadmePreselected = 1u << 15,
    kOptionOpenProgramGroup = 1u << 16,
    kOptionNoUninstaller = 1u << 17,
    kOptionScaleTemplatesByDpi = 1u << 18,
    kOptionFailuresInRed = 1u << 19,
    kOptionRestartChoiceFixed = 1u << 20,
    kOptionDestinationFromRegistry = 1u << 21,
    kOptionReplaceLockedThroughTmp = 1u << 22,
    kOptionAllUsersShortcuts = 1u << 23,
    kOptionCaptionsFromWindowTitle = 1u << 25,
    kOptionNoProductFolder = 1u << 26,
    kOptionThirdFinishItem = 1u << 27,
    kOptionConditionsInAccessTest = 1u << 28,
};

// The bits of the package options word.
enum PackageOption : std::uint32_t {
    kPackageMp3ToWav = 0x2,
    kPackageJpegToBmp = 0x4,
    kPackageUpdate = 0x40,
    kPackagePluginHasOnMessage = 0x80000000,
};

// What the package requires of the computer, shown on the system-information page.
struct SystemRequirements {
    // Bit 0 Windows 95, bit 1 Windows 98, bit 2 NT family, bit 3 Windows ME; 0 = any.
    std::uint32_t osFlags = 0;
    std::uint32_t minBuild9x = 0;
    std::uint32_t ntMajor = 0;
    std::uint32_t ntMinor = 0;
    std::uint32_t ntServicePack = 0;
    // Major in the high 16 bits, minor in the low 16 bits; 0 = none.
    std::uint32_t directX = 0;
    // 1 Intel, 2 AMD, 0 any.
    std::uint32_t cpuVendor = 0;
    std::uint32_t cpuType = 0;
    std::uint32_t cpuFeatures = 0;
    std::uint32_t ramMB = 0;
    std::uint32_t cpuMHz = 0;
    std::uint32_t displayWidth = 0;
    std::uint32_t displayHeight = 0;
    std::uint32_t displayBits = 0;
    // The probes to run, one bit each.
    std::uint32_t probes = 0;
    // Bit 0 joystick, bit 1 sound output, bit 2 MIDI output.
    std::uint32_t devices = 0;
    // 0 none, 1 = 1.0, 2 = 1.1, 3 or more = 2.0.
    std::uint32_t dotNet = 0;
    std::uint32_t adminRequired = 0;
};

// What the system-information probes found, handed to the plug-in's step 5 as it is laid out here.
struct SystemInfoResults {
    std::uint8_t joystickProbed = 0;
    // Windows 95 before OSR2 (9x platform, build 1000 or less).
    std::uint8_t windows95BeforeOsr2 = 0;
    std::uint8_t displayModeMet = 0;
    std::uint8_t unused[5] = {};
    std::uint32_t cpuFeatures = 0;
    std::int32_t cpuVendor = 0;
    std::int32_t cpuType = 0;
    std::int32_t cpuMhz = 0;
    std::int32_t displayDevices = 0;
    // The colour depth reported with the largest display mode, and that mode's size.
    std::int32_t largestModeBits = 0;
    std::int32_t largestWidth = 0;
    std::int32_t largestHeight = 0;
    std::int32_t failures = 0;
    std::int32_t memoryMb = 0;
    std::int32_t unknowns = 0;
    std::uint16_t directXMajor = 0;
    std::uint16_t directXMinor = 0;
};
static_assert(sizeof(SystemInfoResults) == 56);
static_assert(offsetof(SystemInfoResults, cpuFeatures) == 8);
static_assert(offsetof(SystemInfoResults, failures) == 40);
static_assert(offsetof(SystemInfoResults, directXMajor) == 52);

// Where and how long the slideshow shows its images during the installation.
struct SlideshowSettings {
    // 0 centre, 1 top left, 2 top right, 3 bottom left, other bottom right.
    std::int32_t area = 0;
    std::int32_t alignment = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    // The least time the whole installation run takes.
    std::int32_t durationSeconds = 0;
    // n > 0 aligns the installation page by n - 1.
    std::int32_t pageAlignment = 0;
    // The largest image, measured when the run starts (0 × 0 when not measured).
    std::int32_t largestWidth = 0;
    std::int32_t largestHeight = 0;
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

    // Read from the table of contents. Colours are 0x00BBGGRR; a shadow of 0xFFFFFF is none.
    ByteString title;
    ByteString subtitle;
    ByteString footer;
    std::uint32_t topColour = 0;
    std::uint32_t splitColour = 0;
    std::uint32_t bottomColour = 0;
    std::uint32_t splitPercent = 0;
    // Bit 31 measures from the right and bottom edges.
    std::uint32_t imageX = 0;
    std::uint32_t imageY = 0;
    std::uint32_t titleColour = 0;
    std::uint32_t titleShadowColour = 0;
    std::uint32_t subtitleColour = 0;
    std::uint32_t subtitleShadowColour = 0;
    std::uint32_t footerColour = 0;
};

// The bits of BackgroundStyle::flags.
enum BackgroundFlag : std::uint32_t {
    kBackgroundFullScreen = 0x1,
    kBackgroundDrawn = 0x2,
    kBackgroundStretchImage = 0x4,
    kBackgroundTileImage = 0x8,
    kBackgroundCaption = 0x10,
    kBackgroundTransparentImage = 0x40,
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
    // The index in the page sequence of the page shown (or about to be); -1 before the first page.
    std::int32_t currentPageIndex = -1;
    // The prerequisite setups were checked (once per run).
    bool prerequisitesDone = false;
    // The language set was chosen for the first language page.
    bool languageChosen = false;
};

struct UninstallLog {
    // The uninstaller program unpacked from the package, to which the uninstall data is appended.
    ByteString templatePath;
    // Lists (see UninstallLists.h: each text ends with NUL, the list with one more NUL).
    // Files the installation placed that the uninstaller removes.
    ByteString files;
    // Folders the installation created, in the order of creation.
    ByteString directories;
    // Registry keys logged by the plug-in: "%d\%s" (root, key).
    ByteString keys;
    // Registry values logged by the plug-in: root, "\", key, "\\", value name.
    ByteString values;
    // Shared libraries whose count was raised, optionally followed by "|ctrl".
    ByteString shared;
    // Files backed up before they were replaced, CR LF between lines: backup path, TAB, path,
    // TAB and the packaged file's version high, version low, write time high and write time low.
    ByteString backupText;
    // The data was written into a new uninstaller.
    bool committed = false;
    // The registry trees of the package hold this run's results.
    bool treeBuilt = false;
    // Leave the settings string out of the data (a rollback's data).
    bool omitSettings = false;
    // The empty uninstaller file made before the shortcuts exists.
    bool placeholderMade = false;
};

struct Background {
    // The place of the slideshow image shown now, and the background saved from under it.
    std::int32_t width = 0, height = 0, x = 0, y = 0;
    OpaqueHandle savedAreaDc = nullptr;
    OpaqueHandle savedAreaBitmap = nullptr;
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
extern SystemRequirements gSystemRequirements;
extern SystemInfoResults gSystemInfoResults;
extern SlideshowSettings gSlideshowSettings;
