#include "installer/package/PackageResources.h"

#include "installer/package/LanguageSet.h"
#include "installer/package/MemberExtraction.h"
#include "installer/package/PackageHeaderFields.h"
#include "installer/package/PackageTables.h"
#include "installer/package/VolumeState.h"
#include "installer/state/InstallerState.h"
#include "installer/system/FileSystem.h"
#include "installer/system/TempFileName.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <memory>

namespace {

// Header fields of the members and tables read here.
constexpr std::uint32_t kTemplateCount = 16, kTemplateTable = 20;
constexpr std::uint32_t kIdentifierCount = 24, kIdentifierTable = 28;
constexpr std::uint32_t kImageCount = 32, kImageTable = 36;
constexpr std::uint32_t kFontCount = 40, kFontTable = 44;
constexpr std::uint32_t kImageLibrary = 80;
constexpr std::uint32_t kMusicLibrary = 92;
constexpr std::uint32_t kPluginLibrary = 104;
constexpr std::uint32_t kMusic = 116;
constexpr std::uint32_t kPageImage = 128, kPageImageKind = 132, kPageImageOffset = 136, kPageImageSize = 140;
constexpr std::uint32_t kSlideshowCount = 144, kSlideshowTable = 148;
constexpr std::uint32_t kUninstallerSize = 168, kUninstallerOffset = 172;

constexpr std::uint32_t kPageImageKindBitmap = 1;
constexpr std::size_t kSetupTitleText = 8;
constexpr std::size_t kUpdateSetupTitleText = 9;

// Stands for an installer file that can no longer be opened: every read from it fails.
class NoPackageFile : public PackageSource {
public:
    std::uint64_t size() const override { return 0; }

protected:
    bool readInside(std::uint64_t, void*, std::uint32_t) const override { return false; }
};

std::uint32_t field(std::uint32_t offset)
{
    return headerField(gPackageHeader, offset);
}

// A present member: [present][offset][size] at the field.
struct HeaderMember {
    bool present;
    std::uint32_t offset;
    std::uint32_t size;
};

HeaderMember headerMember(std::uint32_t presentField)
{
    return {field(presentField) != 0, field(presentField + 4), field(presentField + 8)};
}

ByteString newTempFile(const char* extension)
{
    char buffer[kPathBufferSize];
    return ByteString(makeTempFileName(buffer, extension));
}

// Decodes the member into a new temporary file; an empty path when that fails (the partial file
// is deleted).
ByteString decodeToTempFile(std::uint32_t offset, std::uint32_t size, const char* extension)
{
    ByteString path = newTempFile(extension);
    setSingleVolumeMember(offset, size);
    if (extractMember(gPackagePath.cStr(), path.cStr(), offset, size) != kExtractDone) {
        forceDelete(path.cStr());
        return ByteString();
    }
    return path;
}

ByteString copyToTempFile(std::uint32_t offset, std::uint32_t size, const char* extension)
{
    ByteString path = newTempFile(extension);
    if (!copyRawMember(gPackagePath.cStr(), path.cStr(), offset, size, false)) {
        forceDelete(path.cStr());
        return ByteString();
    }
    return path;
}

bool readPageTables(const PackageSource& file, int& code)
{
    if (!readTemplateTable(file, field(kTemplateCount), field(kTemplateTable), gPackageToc.pageSequence)) {
        code = kPageTemplatesNotRead;
        return false;
    }
    if (!readIdentifierTable(file, field(kIdentifierCount), field(kIdentifierTable), gPackageToc.identifierList)) {
        code = kImageIdentifiersNotRead;
        return false;
    }
    std::vector<TableMember> images;
    if (!readMemberTable(file, field(kImageCount), field(kImageTable), true, images)) {
        code = kPageImageNotDecoded;
        return false;
    }
    for (const TableMember& image : images) {
        ByteString path = decodeToTempFile(image.offset, image.size, ".bmp");
        if (path.empty()) {
            code = kPageImageNotDecoded;
            return false;
        }
        gPackageToc.imageList.push_back({image.id, std::move(path)});
    }
    return true;
}

template <typename Library>
int loadLibraryMember(Library& library, const HeaderMember& member, ByteString& recordedPath, int notDecoded,
                      int notLoaded)
{
    ByteString path = decodeToTempFile(member.offset, member.size, ".DLL");
    if (path.empty())
        return notDecoded;
    recordedPath = path;
    return library.load(path.cStr()) ? kResourcesLoaded : notLoaded;
}

bool startsWithJpegMarker(const PackageSource& file, std::uint32_t offset)
{
    std::uint8_t marker[2] = {};
    return file.readAt(offset, marker, 2) && marker[0] == 0xFF && marker[1] == 0xD8;
}

bool startsWithBitmapMarker(const PackageSource& file, std::uint32_t offset)
{
    std::uint8_t marker[2] = {};
    return file.readAt(offset, marker, 2) && marker[0] == 'B' && marker[1] == 'M';
}

int loadPageImage(const PackageSource& file)
{
    const std::uint32_t offset = field(kPageImageOffset);
    const std::uint32_t size = field(kPageImageSize);
    if (startsWithJpegMarker(file, offset)) {
        ByteString jpeg = copyToTempFile(offset, size, ".jpg");
        if (jpeg.empty())
            return kJpegPageImageNotCopied;
        ByteString bitmap = newTempFile(".bmp");
        gJpegHelper.convertJpegToBmp(jpeg.cStr(), bitmap.cStr());
        forceDelete(jpeg.cStr());
        gTempFilePaths.pageImageBitmap = std::move(bitmap);
    } else if (field(kPageImageKind) == kPageImageKindBitmap) {
        ByteString bitmap = decodeToTempFile(offset, size, ".bmp");
        if (bitmap.empty())
            return kBitmapPageImageNotDecoded;
        gTempFilePaths.pageImageBitmap = std::move(bitmap);
    } else if (startsWithBitmapMarker(file, offset)) {
        // A bitmap stored as it is: copied, not decoded.
        ByteString bitmap = copyToTempFile(offset, size, ".bmp");
        if (bitmap.empty())
            return kBitmapPageImageNotDecoded;
        gTempFilePaths.pageImageBitmap = std::move(bitmap);
    }
    return kResourcesLoaded;
}

int copyMusic()
{
    const HeaderMember music = headerMember(kMusic);
    ByteString path = copyToTempFile(music.offset, music.size, ".mp3");
    if (path.empty())
        return kMusicNotCopied;
    gMp3Helper.musicPath = path;
    gTempFilePaths.musicFile = std::move(path);
    return kResourcesLoaded;
}

int loadPlugin()
{
    const int loaded = loadLibraryMember(gPluginLibrary, headerMember(kPluginLibrary), gTempFilePaths.pluginLibrary,
                                         kPluginNotDecoded, kPluginNotLoaded);
    if (loaded == kResourcesLoaded) {
        gPluginCopyPath = gTempFilePaths.pluginLibrary;
        if (gPluginLibrary.hasOnMessage())
            gInstallerContext.packageOptions |= kPackagePluginHasOnMessage;
    }
    return loaded;
}

int loadInterfaceTexts(const PackageSource& file)
{
    if (!readSlideshowTable(file, field(kSlideshowCount), field(kSlideshowTable), gPackageToc.slideshowPaths))
        return kSlideshowNotRead;
    if (!loadLanguageSet(static_cast<std::int32_t>(field(kHeaderFieldDefaultLanguageSet))))
        return kDefaultLanguageSetNotLoaded;
    const bool update = (gInstallerContext.packageOptions & kPackageUpdate) != 0;
    ByteString titleFormat = gLanguageTexts[update ? kUpdateSetupTitleText : kSetupTitleText];
    gSetupTitle = ByteString();
    gSetupTitle.format(titleFormat.cStr(), gPackageToc.productName.cStr());
    return kResourcesLoaded;
}

int unpackUninstaller()
{
    if (field(kUninstallerSize) == 0 || (gInstallerContext.optionWord & kOptionNoUninstaller) != 0)
        return kResourcesLoaded;
    ByteString path = decodeToTempFile(field(kUninstallerOffset), field(kUninstallerSize), ".EXE");
    if (path.empty())
        return kUninstallerNotDecoded;
    gUninstallLog.templatePath = std::move(path);
    return kResourcesLoaded;
}

} // namespace

void removeUiFonts()
{
    std::int32_t position = 0;
    for (int line = 0; gPackageToc.fontsAdded.hasMore(position); ++line) {
        ByteString path;
        gPackageToc.fontsAdded.nextLine(&position, path);
        if (path.empty())
            continue;
        if (line % 2 == 0)
            RemoveFontResourceW(WideName(path.cStr()));
        forceDelete(path.cStr());
    }
    gPackageToc.fontsAdded = ByteString();
}

bool installUiFonts()
{
    const std::unique_ptr<PackageSource> file = openPackageFile(gPackagePath.cStr());
    std::vector<TableMember> fonts;
    if (!file || !readMemberTable(*file, field(kFontCount), field(kFontTable), false, fonts))
        return false;
    for (const TableMember& font : fonts) {
        ByteString fontFile = decodeToTempFile(font.offset, font.size, ".TTF");
        if (fontFile.empty())
            return false;
        ByteString resourceFile = newTempFile(".FOT");
        CreateScalableFontResourceW(0, WideName(resourceFile.cStr()), WideName(fontFile.cStr()), nullptr);
        const bool added = AddFontResourceW(WideName(resourceFile.cStr())) != 0;
        gPackageToc.fontsAdded.append(resourceFile);
        gPackageToc.fontsAdded.appendCStr("\r\n");
        gPackageToc.fontsAdded.append(fontFile);
        gPackageToc.fontsAdded.appendCStr("\r\n");
        if (!added)
            return false;
    }
    return true;
}

int loadPackageResources()
{
    std::unique_ptr<PackageSource> file = openPackageFile(gPackagePath.cStr());
    if (!file)
        file = std::make_unique<NoPackageFile>();
    int code = kResourcesLoaded;
    if (!gFlags.silent) {
        if (!readPageTables(*file, code))
            return code;
        if (field(kFontCount) != 0 && !installUiFonts())
            return kDialogFontNotDecoded;
    }
    const HeaderMember musicLibrary = headerMember(kMusicLibrary);
    if (musicLibrary.present && (code = loadLibraryMember(gMp3Helper, musicLibrary, gTempFilePaths.musicLibrary,
                                                         kMusicLibraryNotDecoded, kMusicLibraryNotLoaded)) < 0)
        return code;
    const HeaderMember imageLibrary = headerMember(kImageLibrary);
    if (imageLibrary.present && (code = loadLibraryMember(gJpegHelper, imageLibrary, gTempFilePaths.imageLibrary,
                                                         kImageLibraryNotDecoded, kImageLibraryNotLoaded)) < 0)
        return code;
    if (!gFlags.silent) {
        if (field(kPageImage) != 0 && (code = loadPageImage(*file)) < 0)
            return code;
        if (field(kMusic) != 0 && (code = copyMusic()) < 0)
            return code;
    }
    if (headerMember(kPluginLibrary).present && (code = loadPlugin()) < 0)
        return code;
    if (!gFlags.silent && (code = loadInterfaceTexts(*file)) < 0)
        return code;
    return unpackUninstaller();
}
