#include "installer/state/InstallerState.h"

// Defined in this order on purpose: objects of one translation unit are built in the order of
// their definitions and destroyed in the reverse order.
PackageToc gPackageToc;
InstallerContext gInstallerContext;
BackgroundStyle gBackgroundStyle;
TempFilePaths gTempFilePaths;
ByteString gPluginCopyPath;
ByteString gModulePath;
ByteString gPackagePath;
ByteString gPackageHeader;
ByteString gSetupTitle;
MainInstaller gMainInstaller;
UninstallLog gUninstallLog;
Background gBackground;
Mp3Helper gMp3Helper;
JpegHelper gJpegHelper;
PluginLibrary gPluginLibrary;
std::array<ByteString, kLanguageTextCount> gLanguageTexts;
InstallerFlags gFlags;
SystemRequirements gSystemRequirements;
SystemInfoResults gSystemInfoResults;
SlideshowSettings gSlideshowSettings;
