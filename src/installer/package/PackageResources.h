#pragma once
// Start-up work on the package header's members: page templates and images, dialog fonts, the
// image, music and plug-in libraries, the page image and music, the slideshow, the default
// language set and the uninstaller program. Each member is decoded or copied into a temporary
// file that the clean-up at exit deletes.

enum PackageResourceCode : int {
    kResourcesLoaded = 1,
    kMusicLibraryNotDecoded = -1,
    kMusicLibraryNotLoaded = -2,
    kImageLibraryNotDecoded = -3,
    kImageLibraryNotLoaded = -4,
    kJpegPageImageNotCopied = -5,
    kMusicNotCopied = -6,
    kPluginNotDecoded = -7,
    kPluginNotLoaded = -8,
    kUninstallerNotDecoded = -15,
    kDefaultLanguageSetNotLoaded = -16,
    kPageImageNotDecoded = -42,
    // A table of the header that does not lie whole inside the installer file.
    kPageTemplatesNotRead = -43,
    kImageIdentifiersNotRead = -44,
    kDialogFontNotDecoded = -45,
    kSlideshowNotRead = -46,
    kBitmapPageImageNotDecoded = -47,
};

// 1, or the code of the first failure. A silent run loads only the libraries and the uninstaller.
int loadPackageResources();

// Decodes each dialog font of the package into a temporary TrueType file and adds it for this
// session; the font files are listed in the fonts-added text. True when every font was added.
bool installUiFonts();

// Removes the fonts installUiFonts added (the even lines of the fonts-added text are the font
// resource files) and deletes every listed file; the text is emptied.
void removeUiFonts();
