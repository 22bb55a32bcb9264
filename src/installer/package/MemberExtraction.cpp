#include "installer/package/MemberExtraction.h"

#include "installer/package/ExtractionHooks.h"
#include "installer/package/KeptPackageFile.h"
#include "installer/package/PackageReader.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/system/OutputFile.h"
#include "installer/system/SystemError.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kDecodingErrorFormat = 154;
constexpr std::size_t kReadErrorText = 161;
constexpr std::size_t kWriteErrorText = 162;
constexpr std::uint32_t kNoInputLimit = 0x7FFFFFFF;

// The output file being written, for closeExtractionOutput.
std::unique_ptr<OutputFile>* openOutput = nullptr;

class OpenOutputRegistration {
public:
    explicit OpenOutputRegistration(std::unique_ptr<OutputFile>& output) { openOutput = &output; }
    ~OpenOutputRegistration() { openOutput = nullptr; }
    OpenOutputRegistration(const OpenOutputRegistration&) = delete;
    OpenOutputRegistration& operator=(const OpenOutputRegistration&) = delete;
};

// The member's input from the package and its output file, with the user's say on errors.
class ExtractionIo final : public MemberDecodeIo {
public:
    ExtractionIo(PackageHandle& input, std::unique_ptr<OutputFile>& output, std::uint32_t limit)
        : input_(input), output_(output), remaining_(limit)
    {
    }

    std::uint32_t read(std::uint8_t* buffer, std::uint32_t n) override
    {
        const std::uint32_t wanted = std::min(n, remaining_);
        if (wanted == 0)
            return 0;
        std::uint32_t got = 0;
        readPackage(input_, buffer, wanted, got);
        remaining_ -= got;
        return got;
    }

    void inputMissing() override { askOrEnd(withSystemMessage(kReadErrorText, packageReadError())); }

    bool write(const std::uint8_t* data, std::uint32_t n) override
    {
        // After a failed write the file is incomplete: later blocks are only counted, and the
        // user is asked once.
        if (writeFailed_)
            return false;
        if (output_ && output_->write(data, n)) {
            countExtractedBytes(n);
            return true;
        }
        writeFailed_ = true;
        askOrEnd(withSystemMessage(kWriteErrorText, lastSystemError()));
        return false;
    }

    void decoderError(const char* message) override { askOrEnd(message); }

private:
    static ByteString withSystemMessage(std::size_t textIndex, std::uint32_t error)
    {
        ByteString text = gLanguageTexts[textIndex];
        if (error == 0)
            return text;
        ByteString message = systemErrorMessage(error);
        ByteString combined;
        combined.format("%s (%s)", text.cStr(), message.cStr());
        return combined;
    }

    void askOrEnd(ByteString reason)
    {
        ByteString format = gLanguageTexts[kDecodingErrorFormat];
        ByteString question;
        question.format(format.cStr(), reason.cStr());
        if (askExtractionQuestion(question.cStr())) {
            gExtractionCounters.continuedAfterError = true;
            return;
        }
        // The installer ends from here: the files are closed first.
        input_.file.reset();
        releaseKeptPackageFile();
        closeExtractionOutput();
        endInstaller();
    }
    void askOrEnd(const char* reason) { askOrEnd(ByteString(reason)); }

    PackageHandle& input_;
    std::unique_ptr<OutputFile>& output_;
    std::uint32_t remaining_;
    bool writeFailed_ = false;
};

bool readPlain(PackageHandle& handle, std::uint8_t* buffer, std::uint32_t n, std::uint32_t& got)
{
    got = 0;
    if (!handle.file->readAt(handle.position, buffer, n))
        return false;
    handle.position += n;
    got = n;
    return true;
}

} // namespace

int extractMember(const char* packagePath, const char* outputPath, std::uint32_t offset, std::uint32_t size)
{
    PackageHandle input;
    input.file = openVolumeFile(packagePath);
    if (!input.file)
        return kExtractPackageNotOpened;
    std::unique_ptr<OutputFile> output = createOutputFile(outputPath);
    if (!output)
        return kExtractOutputNotCreated;
    const OpenOutputRegistration registration(output);
    input.position = offset;
    gExtractionCounters.processed = 0;
    gExtractionCounters.reported = 0;
    gExtractionCounters.continuedAfterError = false;
    ExtractionIo io(input, output, size == 0 ? kNoInputLimit : size);
    return decodeMember(io);
}

bool copyRawMember(const char* packagePath, const char* outputPath, std::uint32_t offset, std::uint32_t size,
                   bool throughVolumes)
{
    PackageHandle input;
    input.file = openVolumeFile(packagePath);
    if (!input.file)
        return false;
    input.position = offset;
    std::unique_ptr<OutputFile> output = createOutputFile(outputPath);
    if (!output)
        return false;
    const OpenOutputRegistration registration(output);
    std::vector<std::uint8_t> block(std::min(size, kMemberBlockSize));
    while (size > 0) {
        const std::uint32_t wanted = std::min(size, kMemberBlockSize);
        std::uint32_t got = 0;
        if (throughVolumes)
            readPackage(input, block.data(), wanted, got);
        else
            readPlain(input, block.data(), wanted, got);
        if (got == 0 || !output || !output->write(block.data(), got))
            return false;
        if (throughVolumes && gExtractionCounters.reporting)
            reportExtractionProgress(got);
        size -= got;
    }
    return true;
}

void closeExtractionOutput()
{
    if (openOutput)
        openOutput->reset();
}
