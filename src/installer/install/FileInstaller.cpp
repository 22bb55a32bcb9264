#include "installer/install/FileInstaller.h"
#include "installer/state/UninstallLists.h"

#include "installer/install/InstallEngine.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/install/InstallName.h"
#include "installer/install/InstallRun.h"
#include "installer/install/OverwriteQuestions.h"
#include "installer/install/OverwriteRules.h"
#include "installer/install/RegistrationQueue.h"
#include "installer/package/ExtractionHooks.h"
#include "installer/package/KeptPackageFile.h"
#include "installer/package/MemberExtraction.h"
#include "installer/package/PackageReader.h"
#include "installer/package/VolumeState.h"
#include "installer/state/InstallerState.h"
#include "installer/system/OutputFile.h"
#include "installer/system/TempFileName.h"
#include "installer/system/VersionNumbers.h"
#include "installer/variables/ConditionEvaluation.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kInstallingStatus = 112;
constexpr std::size_t kFileInUseFormat = 120;
constexpr std::size_t kBesideFileMissingFormat = 127;
constexpr std::uint32_t kPlatformWindows9x = 1;
constexpr std::uint32_t kBesideCopyBlock = 32000;
constexpr std::uint32_t kVersionCheck = 0x1;
constexpr std::uint32_t kSharedLibrary = 0x2;
constexpr std::uint32_t kHiddenFile = 0x4;
constexpr std::uint32_t kArchiveFile = 0x8;
constexpr std::uint32_t kReadOnlyFile = 0x10;
constexpr std::int32_t kInstallationTypePage = 9;
constexpr std::int32_t kComponentsPage = 10;

const char* const kFailureInstallingFile = "Failure while trying to install file ";
const char* const kNoWritePrivilegeFormat =
    "You don't have write privilege to directory '%s'. Please have your system administrator (or other user with "
    "higher privileges) install this software.";
const char* const kBesideNameNotRead = "Couldn't read filename - skipping file";

enum class RecordOutcome { Next, Stop };

std::string languageText(std::size_t index)
{
    ByteString copy = gLanguageTexts[index];
    return copy.cStr();
}

std::string formattedLanguageText(std::size_t index, const std::string& value)
{
    ByteString format = gLanguageTexts[index];
    ByteString result;
    result.format(format.cStr(), value.c_str());
    return result.cStr();
}

// The file being written and what was moved out of its way: undone unless committed.
struct FileInProgress {
    std::string target;
    std::string written;
    std::string aside;
    std::string movedForRestart;
};

FileInProgress* fileInProgress = nullptr;

void undoFile(FileInProgress& file)
{
    InstallFileSystem& fs = installFileSystem();
    if (!file.written.empty())
        fs.remove(file.written);
    if (!file.aside.empty())
        fs.move(file.aside, file.target);
    if (!file.movedForRestart.empty())
        fs.move(file.movedForRestart, file.target);
    file = FileInProgress();
}

class FileInProgressGuard {
public:
    explicit FileInProgressGuard(FileInProgress& file) : file_(file) { fileInProgress = &file_; }
    ~FileInProgressGuard()
    {
        fileInProgress = nullptr;
        if (!committed_)
            undoFile(file_);
    }
    FileInProgressGuard(const FileInProgressGuard&) = delete;
    FileInProgressGuard& operator=(const FileInProgressGuard&) = delete;
    void commit() { committed_ = true; }

private:
    FileInProgress& file_;
    bool committed_ = false;
};

// Puts reporting and the progress hook back however the walk ends.
class ProgressReporting {
public:
    ProgressReporting()
    {
        gExtractionCounters.reporting = true;
        previous_ = setExtractionProgress([](std::uint32_t bytes) { advanceFileProgress(bytes); });
    }
    ~ProgressReporting()
    {
        gExtractionCounters.reporting = false;
        setExtractionProgress(previous_);
    }
    ProgressReporting(const ProgressReporting&) = delete;
    ProgressReporting& operator=(const ProgressReporting&) = delete;

private:
    ExtractionProgress previous_ = nullptr;
};

bool isWindows9x()
{
    return gInstallerContext.osVersion.platformId == kPlatformWindows9x;
}

std::string numbered(const std::string& base, int n)
{
    return base + std::to_string(n);
}

bool renameAside(const std::string& path, std::string& aside)
{
    InstallFileSystem& fs = installFileSystem();
    int n = 0;
    while (fs.exists(numbered(path + ".old", n)))
        ++n;
    if (!fs.move(path, numbered(path + ".old", n)))
        return false;
    aside = numbered(path + ".old", n);
    return true;
}

void makeBackup(const std::string& path, const FileRecord& record)
{
    backUpFile(path, record.versionMost, record.versionLeast, record.lastWriteTime);
}

// True to install over the existing file.
bool decideOverwrite(const FileRecord& record, const std::string& path)
{
    InstallFileSystem& fs = installFileSystem();
    OverwriteFacts facts;
    facts.recordMode = record.overwriteMode();
    facts.defaultMode = gInstallerContext.defaultOverwriteMode;
    facts.versionCheck = (record.fileFlags & kVersionCheck) != 0;
    const auto existingTime = fs.lastWriteTime(path);
    facts.existingOlder = existingTime && *existingTime < record.lastWriteTime;
    facts.existingNewer = existingTime && *existingTime > record.lastWriteTime;
    FileVersionFacts existing;
    if (facts.versionCheck) {
        existing = fs.version(path);
        facts.versionOrder = compareVersion(record.versionMost, record.versionLeast, existing.high, existing.low);
        facts.otherLanguage = existing.language != 0 && existing.language != record.versionLanguage;
    }
    const OverwriteAction action = overwriteAction(facts);
    if (action == OverwriteAction::Replace || action == OverwriteAction::Keep)
        return action == OverwriteAction::Replace;

    QuestionFacts question;
    question.path = path;
    question.versionOrder = facts.versionOrder;
    question.description = existing.description;
    question.recordVersionHigh = record.versionMost;
    question.recordVersionLow = record.versionLeast;
    std::string text;
    switch (action) {
    case OverwriteAction::AskPlain:
        text = plainQuestion(question);
        break;
    case OverwriteAction::AskExistingNewer:
        text = existingNewerQuestion(question);
        break;
    case OverwriteAction::AskLanguage:
        question.existingLanguageName = fs.languageName(existing.language);
        question.packagedLanguageName = fs.languageName(record.versionLanguage);
        text = languageQuestion(question);
        break;
    default:
        text = versionQuestion(question);
        break;
    }
    return askUser(text.c_str(), kBoxYesNo | kBoxExclamation) != kAnswerYes;
}

// 1 go on (result and names tell how), 0 leave the file out.
bool handleFileInUse(const std::string& path, int& result, std::string& movedName, std::string& writePath)
{
    InstallFileSystem& fs = installFileSystem();
    while (fs.exists(path)) {
        if (!fs.inUse(path))
            return true;
        if (!isWindows9x()) {
            int n = 0;
            while (fs.exists(numbered(path + ".delete_on_reboot", n)))
                ++n;
            if (fs.move(path, numbered(path + ".delete_on_reboot", n))) {
                movedName = numbered(path + ".delete_on_reboot", n);
                result = 2;
                return true;
            }
        }
        if (gInstallerContext.optionWord & kOptionReplaceLockedThroughTmp) {
            // Beside the target, so that the rename at restart stays on one volume.
            writePath = firstFreeTempFileName(folderOf(path), fs.tickCount(), ".tmp",
                                              [&fs](const std::string& name) { return fs.exists(name); });
            result = 1;
            return true;
        }
        const std::string text = formattedLanguageText(kFileInUseFormat, path);
        if (askUser(text.c_str(), kBoxRetryCancel | kBoxExclamation) != kAnswerRetry)
            return false;
    }
    return true;
}

bool probeWriteAccess(const std::string& folder)
{
    InstallFileSystem& fs = installFileSystem();
    std::string base = folder;
    if (base.empty() || base.back() != '\\')
        base += '\\';
    std::uint32_t tick = fs.tickCount();
    std::string name = base + std::to_string(static_cast<std::int32_t>(tick)) + ".tmp";
    while (fs.exists(name))
        name = base + std::to_string(static_cast<std::int32_t>(++tick)) + ".tmp";
    if (fs.probeCreate(name) != ProbeResult::AccessDenied)
        return true;
    showInstallError(noWritePrivilegeText(folder).c_str());
    return false;
}

void applyFileAttributes(const std::string& path, const FileRecord& record, std::uint32_t flags, std::uint32_t fileFlags)
{
    InstallFileSystem& fs = installFileSystem();
    const std::uint64_t* creation = (flags & kFileSetCreationTime) ? &record.creationTime : nullptr;
    const std::uint64_t* lastWrite = (flags & kFileSetLastWriteTime) ? &record.lastWriteTime : nullptr;
    if (creation || lastWrite)
        fs.setTimes(path, creation, lastWrite);
    if ((flags & kFileBesidePackage) && (flags & kFileKeepAttributes))
        return;
    const auto current = fs.attributes(path);
    if (!current)
        return;
    std::uint32_t attributes = *current & ~(kAttributeReadOnly | kAttributeHidden | kAttributeArchive | kAttributeNormal);
    if (fileFlags & kReadOnlyFile)
        attributes |= kAttributeReadOnly;
    if (fileFlags & kHiddenFile)
        attributes |= kAttributeHidden;
    if (fileFlags & kArchiveFile)
        attributes |= kAttributeArchive;
    const std::uint32_t wanted = attributes == 0 ? kAttributeNormal : attributes;
    if (wanted != *current)
        fs.setAttributes(path, wanted);
}

std::string damagedBesideRecordText()
{
    return std::string("The record of a file beside the package in \"") + currentVolumeFile() +
           "\" is damaged; the files after it cannot be installed.";
}

// 1 install from source, 0 leave the record out, -1 stop the installation.
int readBesideFile(FileRecord& record, std::uint64_t dataOffset, std::string& source)
{
    const auto package = openVolumeFile(currentVolumeFile());
    // The stored size is the length of the name that follows in this volume: a size beyond the
    // volume's end is a damaged package, never an allocation of that size.
    if (package && (dataOffset > package->size() || record.storedSize > package->size() - dataOffset)) {
        const std::string text = damagedBesideRecordText();
        showInstallError(text.c_str());
        gInstallRun.failedFiles.push_back(text);
        return -1;
    }
    std::vector<char> bytes(static_cast<std::size_t>(record.storedSize) + 1, 0);
    if (!package || !package->readAt(dataOffset, bytes.data(), record.storedSize)) {
        showInstallError(kBesideNameNotRead);
        return 0;
    }
    source = expandNameOnce(std::string(bytes.data()));
    InstallFileSystem& fs = installFileSystem();
    if (fs.exists(source)) {
        const auto file = openPackageFile(source.c_str());
        if (!file)
            return 1;
        record.storedSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(file->size(), 0xFFFFFFFFu));
        record.creationTime = fs.creationTime(source).value_or(record.creationTime);
        record.lastWriteTime = fs.lastWriteTime(source).value_or(record.lastWriteTime);
        const FileVersionFacts version = fs.version(source);
        record.versionMost = version.high;
        record.versionLeast = version.low;
        record.versionLanguage = version.language;
        return 1;
    }
    const std::string text = formattedLanguageText(kBesideFileMissingFormat, source);
    if (text.empty())
        return 0;
    return askUser(text.c_str(), kBoxYesNo) == kAnswerNo ? -1 : 0;
}

bool copyBesideFile(const std::string& source, const std::string& target)
{
    const auto input = openPackageFile(source.c_str());
    if (!input)
        return false;
    installFileSystem().remove(target);
    const auto output = createOutputFile(target.c_str());
    if (!output)
        return false;
    std::vector<std::uint8_t> block(kBesideCopyBlock);
    std::uint64_t at = 0;
    while (at < input->size()) {
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kBesideCopyBlock, input->size() - at));
        if (!input->readAt(at, block.data(), n) || !output->write(block.data(), n))
            return false;
        at += n;
        advanceFileProgress(n);
    }
    return true;
}

bool writeMember(const FileRecord& record, std::uint32_t flags, std::uint64_t dataOffset, const std::string& source,
                 const std::string& path)
{
    if (record.storedSize == 0)
        return installFileSystem().createEmpty(path);
    if (flags & kFileRawMember)
        return copyRawMember(currentVolumeFile(), path.c_str(), static_cast<std::uint32_t>(dataOffset),
                             record.storedSize, true);
    if (flags & kFileBesidePackage)
        return copyBesideFile(source, path);
    if (extractMember(currentVolumeFile(), path.c_str(), static_cast<std::uint32_t>(dataOffset), 0) != kExtractDone)
        return false;
    advanceFileProgress(gExtractionCounters.processed - gExtractionCounters.reported);
    return true;
}

void addToConversionList(const std::string& path, std::uint32_t flags)
{
    if (path.size() < 3)
        return;
    std::string extension = path.substr(path.size() - 3);
    for (char& c : extension)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const std::uint32_t options = gInstallerContext.packageOptions;
    if ((options & kPackageJpegToBmp) && extension == "JPG" && !(flags & kFileJpegNotConverted)) {
        gPackageToc.jpegFiles.appendCStr(path.c_str());
        gPackageToc.jpegFiles.appendCStr("\r\n");
    } else if ((options & kPackageMp3ToWav) && extension == "MP3") {
        gPackageToc.mp3Files.appendCStr(path.c_str());
        gPackageToc.mp3Files.appendCStr("\r\n");
    }
}

void leaveOut(const std::string& path)
{
    gInstallRun.failedFiles.push_back(path);
}

RecordOutcome installRecord(FileRecord& record, std::uint64_t dataOffset)
{
    InstallFileSystem& fs = installFileSystem();
    if (!recordSelected(record))
        return RecordOutcome::Next;
    if (!conditionHolds(record.condition.get())) {
        advanceFileProgress(record.storedSize);
        return RecordOutcome::Next;
    }
    std::string source;
    if (record.flags & kFileBesidePackage) {
        const int found = readBesideFile(record, dataOffset, source);
        if (found <= 0)
            return found < 0 ? RecordOutcome::Stop : RecordOutcome::Next;
    }

    const std::string name = collapseDoubleBackslashes(expandNameOnce(ByteString(record.name).cStr()));
    if (hasRelativeComponent(name)) {
        showInstallError((kFailureInstallingFile + name + " (its path leaves its folder)").c_str());
        leaveOut(name);
        advanceFileProgress(record.storedSize);
        return RecordOutcome::Next;
    }
    const std::string folder = folderOf(name);
    if (gInstallRun.readyFolders.count(folder) == 0) {
        if ((folder.size() > 3 && !fs.createFolders(folder, false)) || !fs.exists(folder)) {
            showInstallError((kFailureInstallingFile + name).c_str());
            return RecordOutcome::Stop;
        }
        if (!probeWriteAccess(folder))
            return RecordOutcome::Stop;
        gInstallRun.readyFolders.insert(folder);
    }
    if (gPackageToc.extractorMode)
        gPackageToc.unpackedFiles.emplace_back(name.c_str());
    if (!gFlags.silent && gInstallView.statusLine)
        gInstallView.statusLine((languageText(kInstallingStatus) + " " + name).c_str());

    std::uint32_t flags = record.flags;
    std::uint32_t fileFlags = record.fileFlags;
    FileInProgress file;
    file.target = name;
    std::string writePath = name;
    bool existed = false;
    if (fs.exists(name)) {
        const auto attributes = fs.attributes(name);
        if (attributes && (*attributes & kAttributeReadOnly))
            fs.setAttributes(name, *attributes & ~kAttributeReadOnly);
        const auto restoreAttributes = [&] {
            if (attributes)
                fs.setAttributes(name, *attributes);
        };
        if (!decideOverwrite(record, name)) {
            restoreAttributes();
            advanceFileProgress(record.storedSize);
            return RecordOutcome::Next;
        }
        // Backed up while it is still in place: a file in use is moved away for the restart or
        // replaced at it, and its old content is lost as well.
        if ((fileFlags & kVersionCheck) && (gInstallerContext.optionWord & kOptionBackUpReplacedFiles))
            makeBackup(name, record);
        int inUse = 0;
        if (!handleFileInUse(name, inUse, file.movedForRestart, writePath)) {
            restoreAttributes();
            advanceFileProgress(record.storedSize);
            return RecordOutcome::Next;
        }
        if (inUse == 0) {
            // The old content stays recoverable until the installation commits.
            if (!renameAside(name, file.aside)) {
                restoreAttributes();
                showInstallError((kFailureInstallingFile + name).c_str());
                leaveOut(name);
                advanceFileProgress(record.storedSize);
                return RecordOutcome::Next;
            }
        }
        existed = true;
        if (inUse == 1) {
            fileFlags &= ~kSharedLibrary;
            flags &= ~(kFileRegister | kFileNeverLogged);
            existed = false;
        }
    }

    file.written = writePath;
    FileInProgressGuard guard(file);
    gExtractionCounters.continuedAfterError = false;
    if (!writeMember(record, flags, dataOffset, source, writePath)) {
        // In a silent run nobody answered the question: the file fails the run.
        if (gExtractionCounters.continuedAfterError && !gFlags.silent)
            gInstallRun.skippedFiles.push_back(name);
        else
            leaveOut(name);
        return RecordOutcome::Next;
    }
    const std::string aside = file.aside;
    const std::string moved = file.movedForRestart;
    guard.commit();

    applyFileAttributes(writePath, record, flags, fileFlags);
    if (!aside.empty())
        gInstallRun.asideFiles.push_back(aside);
    if (!moved.empty())
        fs.deleteAtRestart(moved);
    if (writePath != name) {
        gPackageToc.renamePairs.appendCStr(name.c_str());
        gPackageToc.renamePairs.appendChar(0);
        gPackageToc.renamePairs.appendCStr(writePath.c_str());
        gPackageToc.renamePairs.appendChar(0);
    }
    const bool shared = (fileFlags & kSharedLibrary) != 0;
    if (shared)
        gInstallRun.sharedLibraries.emplace_back(name, (flags & kFileRegister) != 0);
    // Logged under its real target, also when it waits under a temporary name.
    if (((flags & kFileAlwaysLogged) || !existed) && !shared && !(flags & kFileNeverLogged)) {
        addListEntry(name.c_str(), gUninstallLog.files);
    }
    if (!existed && writePath == name)
        gInstallRun.createdFiles.insert(name);
    addToConversionList(name, flags);
    if (flags & kFileRegister)
        queueRegistration(gPackageToc.registrationQueue, name.c_str(), record.registrationPriority);
    return RecordOutcome::Next;
}

std::string damagedRecordText(std::uint32_t index)
{
    return "The record of packed file " + std::to_string(index + 1) + " in \"" + currentVolumeFile() +
           "\" is damaged; the files after it cannot be installed.";
}

} // namespace

std::string noWritePrivilegeText(const std::string& folder)
{
    ByteString text;
    text.format(kNoWritePrivilegeFormat, folder.c_str());
    return text.cStr();
}

bool recordSelected(const FileRecord& record)
{
    const auto& pages = gPackageToc.pageSequence;
    const bool choicePages = std::any_of(pages.begin(), pages.end(), [](const TemplateEntry& entry) {
        return entry.pageType == kInstallationTypePage || entry.pageType == kComponentsPage;
    });
    if (!choicePages)
        return true;
    const auto& choices = gPackageToc.componentChoices;
    switch (gPackageToc.installationType) {
    case kCustomInstallation:
        // Without saved choices (the components were never put to the user) the typical set.
        if (choices.empty())
            return (record.installTypeMask & 3) != 0;
        return record.componentIndex < choices.size() && choices[record.componentIndex].checked;
    case kTypicalInstallation:
        return (record.installTypeMask & 3) != 0;
    default:
        return (record.installTypeMask & 1) != 0;
    }
}

void advanceFileProgress(std::uint64_t bytes)
{
    gInstallRun.bytesCopied += bytes;
    const std::uint64_t total = gPackageToc.otherBytes;
    if (total == 0)
        return;
    const std::uint64_t percent = std::min<std::uint64_t>(gInstallRun.bytesCopied * 100 / total, 100);
    setProgress(static_cast<std::int32_t>(percent), gInstallRun.bytesCopied);
}

void abandonFileInProgress()
{
    if (!fileInProgress)
        return;
    closeExtractionOutput();
    undoFile(*fileInProgress);
}

bool installFiles()
{
    const ProgressReporting reporting;
    const KeptPackageFiles keptVolumes;
    const std::uint32_t count = startPackedFiles();
    for (std::uint32_t i = 0; i < count; ++i) {
        // The next record begins where the previous member ends, however much of it was read.
        if (i > 0)
            skipMember();
        gExtractionCounters.processed = 0;
        gExtractionCounters.reported = 0;
        FileRecord record;
        std::uint32_t conditionLength = 0;
        if (readFileRecord(record, conditionLength) != kFileRecordRead) {
            // Where the next record lies is unknown: the walk ends here, once.
            const std::string text = damagedRecordText(i);
            showInstallError(text.c_str());
            gInstallRun.failedFiles.push_back(text);
            return false;
        }
        if (installRecord(record, gVolumeState.position) == RecordOutcome::Stop)
            return false;
    }
    return true;
}

void backUpFile(const std::string& path, std::uint32_t versionHigh, std::uint32_t versionLow, std::uint64_t lastWriteTime)
{
    InstallFileSystem& fs = installFileSystem();
    std::string folder = ByteString(gPackageToc.installDir).cStr();
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    folder += "Backup";
    fs.createFolders(folder, true);
    const std::size_t slash = path.rfind('\\');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    // Two replaced files of the same name from different folders keep a backup each.
    std::string name = base;
    for (int n = 1; gInstallRun.backupNames.count(name) != 0; ++n)
        name = base + "." + std::to_string(n);
    gInstallRun.backupNames.insert(name);
    const std::string backup = folder + "\\" + name;
    if (!fs.copy(path, backup))
        return;
    ByteString line;
    line.format("%s\t%s\t%d\t%d\t%d\t%d", backup.c_str(), path.c_str(), static_cast<std::int32_t>(versionHigh),
                static_cast<std::int32_t>(versionLow), static_cast<std::int32_t>(lastWriteTime >> 32),
                static_cast<std::int32_t>(lastWriteTime & 0xFFFFFFFF));
    addBackupLine(line);
}
