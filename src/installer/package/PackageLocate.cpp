#include "installer/package/PackageLocate.h"

#include "installer/package/PackageHeaderFields.h"
#include "installer/state/InstallerState.h"
#include "installer/system/ErrorBox.h"

#include <array>
#include <vector>

const char* const kChecksumMismatchText = "Checksum mismatch. The installation is corrupt or has been tampered with. If you downloaded this file from the internet, try downloading it again.";
const char* const kFileSizeMismatchText = "File size mismatch: This file is corrupted; If you downloaded this file from the internet, try downloading it again";

namespace {

constexpr std::uint32_t kDosHeaderNewHeaderField = 0x3C;
constexpr std::uint16_t kOptionalHeaderMagic32 = 0x10B;
constexpr std::uint16_t kOptionalHeaderMagic64 = 0x20B;
constexpr std::uint32_t kSecurityDirectoryIndex = 4;
constexpr std::uint32_t kMaxSignaturePadding = 8;

bool readLE32(const PackageSource& file, std::uint64_t offset, std::uint32_t& value)
{
    std::array<std::uint8_t, 4> b{};
    if (!file.readAt(offset, b.data(), 4))
        return false;
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool readLE16(const PackageSource& file, std::uint64_t offset, std::uint16_t& value)
{
    std::array<std::uint8_t, 2> b{};
    if (!file.readAt(offset, b.data(), 2))
        return false;
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

// True when the two magic dwords lie at offset and offset + 4.
bool magicAt(const PackageSource& file, std::uint64_t offset)
{
    std::uint32_t first = 0, last = 0;
    return readLE32(file, offset, first) && readLE32(file, offset + 4, last) &&
           first == kTrailerMagicFirst && last == kTrailerMagicLast;
}

// The certificate table (file offset and size) that the PE security directory points to.
bool findCertificateTable(const PackageSource& file, std::uint32_t& offset, std::uint32_t& size)
{
    std::uint16_t dosMagic = 0;
    std::uint32_t peOffset = 0, peSignature = 0;
    if (!readLE16(file, 0, dosMagic) || dosMagic != 0x5A4D || !readLE32(file, kDosHeaderNewHeaderField, peOffset) ||
        !readLE32(file, peOffset, peSignature) || peSignature != 0x00004550)
        return false;
    const std::uint64_t optionalHeader = static_cast<std::uint64_t>(peOffset) + 4 + 20;
    std::uint16_t magic = 0;
    if (!readLE16(file, optionalHeader, magic))
        return false;
    std::uint64_t countField = 0, directories = 0;
    if (magic == kOptionalHeaderMagic32) {
        countField = optionalHeader + 92;
        directories = optionalHeader + 96;
    } else if (magic == kOptionalHeaderMagic64) {
        countField = optionalHeader + 108;
        directories = optionalHeader + 112;
    } else {
        return false;
    }
    std::uint32_t directoryCount = 0;
    if (!readLE32(file, countField, directoryCount) || directoryCount <= kSecurityDirectoryIndex)
        return false;
    const std::uint64_t entry = directories + 8 * kSecurityDirectoryIndex;
    return readLE32(file, entry, offset) && readLE32(file, entry + 4, size);
}

// The number of bytes from the end of the trailer's magic to the end of the file: 0 when the
// trailer ends the file, else the signature padding and certificate table of a signed file.
bool findTrailerEnd(const PackageSource& file, std::uint64_t& tail)
{
    const std::uint64_t fileSize = file.size();
    if (fileSize >= 8 && magicAt(file, fileSize - 8)) {
        tail = 8;
        return true;
    }
    std::uint32_t tableOffset = 0, tableSize = 0;
    if (!findCertificateTable(file, tableOffset, tableSize) || tableOffset == 0 || tableSize == 0 ||
        static_cast<std::uint64_t>(tableOffset) + tableSize > fileSize)
        return false;
    std::uint32_t zeros = 0;
    while (zeros < kMaxSignaturePadding && zeros < tableOffset) {
        std::uint8_t byte = 0xFF;
        if (!file.readAt(tableOffset - zeros - 1, &byte, 1) || byte != 0)
            break;
        ++zeros;
    }
    tail = 8 + static_cast<std::uint64_t>(zeros) + tableSize;
    return tail <= fileSize && magicAt(file, fileSize - tail);
}

LocateResult failure(int code, const char* message = nullptr)
{
    return LocateResult{code, message};
}

} // namespace

LocateResult locatePackageIn(const PackageSource& file, ByteString& header)
{
    header = ByteString();
    const std::uint64_t fileSize = file.size();
    std::uint64_t tail = 0;
    if (!findTrailerEnd(file, tail))
        return failure(kLocateChecksumMismatch, kChecksumMismatchText);

    std::uint32_t reserved = 0;
    if (tail + 4 > fileSize || !readLE32(file, fileSize - tail - 4, reserved))
        return failure(kLocateOffsetNotRead);
    if (reserved == kNoReservedBlock)
        reserved = 0;
    if (reserved > kMaxReservedBlock)
        return failure(kLocateSizeMismatch, kFileSizeMismatchText);

    const std::uint64_t headerEnd = fileSize >= tail + reserved + 8 ? fileSize - tail - reserved - 8 : 0;
    std::uint32_t headerOffset = 0;
    if (tail + reserved + 8 > fileSize || !readLE32(file, headerEnd, headerOffset))
        return failure(kLocateOffsetNotRead);

    if (headerOffset > headerEnd || headerEnd - headerOffset > kMaxHeaderLength ||
        headerEnd - headerOffset < kHeaderFieldSelfOffset + 4)
        return failure(kLocateSizeMismatch, kFileSizeMismatchText);
    const auto length = static_cast<std::uint32_t>(headerEnd - headerOffset);
    std::vector<std::uint8_t> bytes(length);
    if (!file.readAt(headerOffset, bytes.data(), length))
        return failure(kLocateHeaderNotRead);
    ByteString loaded(bytes.data(), length);
    if (loaded.readBE32(kHeaderFieldSelfOffset) != headerOffset)
        return failure(kLocateSizeMismatch, kFileSizeMismatchText);
    header = std::move(loaded);
    return LocateResult{kLocateOk, nullptr};
}

int locatePackage()
{
    const auto file = openPackageFile(gPackagePath.cStr());
    if (!file)
        return kLocateNotOpened;
    const LocateResult result = locatePackageIn(*file, gPackageHeader);
    if (result.message)
        showErrorBox(result.message);
    return result.code;
}
