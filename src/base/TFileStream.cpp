#include "base/TFileStream.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/ResStr.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h> // _chsize_s, _fileno
#else
#include <unistd.h> // ftruncate, fileno
#endif

namespace kv {

namespace {

std::string Reason(int error)
{
    return std::strerror(error);
}

// Opens a file by its UTF-8 name: through the wide name on Windows, so that any name works.
std::FILE* OpenFile(const std::string& name, const char* mode, int& error)
{
    std::FILE* file = nullptr;
    try {
        const std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
        errno = 0;
#ifdef _WIN32
        const std::wstring wideMode(mode, mode + std::strlen(mode));
        file = _wfopen(path.c_str(), wideMode.c_str());
#else
        file = std::fopen(path.c_str(), mode);
#endif
    } catch (const std::exception&) { // a name that is not UTF-8
        error = EINVAL;
        return nullptr;
    }
    if (!file) {
        error = errno != 0 ? errno : ENOENT;
        return nullptr;
    }
    // A folder opens for reading on POSIX systems (not on Windows); it is no file to read.
#ifdef _WIN32
    struct _stat64 st;
    const bool isFolder = _fstat64(_fileno(file), &st) == 0 && (st.st_mode & _S_IFDIR) != 0;
#else
    struct stat st;
    const bool isFolder = fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode);
#endif
    if (isFolder) {
        std::fclose(file);
        error = EISDIR;
        return nullptr;
    }
    return file;
}

constexpr std::int64_t MaxChunk = std::int64_t{1} << 30; // fits size_t on 32-bit systems

} // namespace

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName)
{
    const char* mode = "rb";
    switch (Mode) {
    case TFileMode::fmOpenRead: mode = "rb"; break;
    case TFileMode::fmOpenWrite:
    case TFileMode::fmOpenReadWrite: mode = "r+b"; break;
    case TFileMode::fmCreate: mode = "w+b"; break;
    }
    int error = 0;
    FHandle = OpenFile(FileName, mode, error);
    if (!FHandle) {
        if (Mode == TFileMode::fmCreate)
            throw EFCreateError(Format(ResStr("Cannot create file \"%s\". %s"), {FileName, Reason(error)}));
        throw EFOpenError(Format(ResStr("Cannot open file \"%s\". %s"), {FileName, Reason(error)}));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle) std::fclose(FHandle);
}

[[noreturn]] void TFileStream::RaiseError(const char* What)
{
    const int error = errno;
    throw EStreamError(ResStr(What) + " \"" + FFileName + "\". " + Reason(error));
}

std::int64_t TFileStream::Tell()
{
#ifdef _WIN32
    const std::int64_t position = _ftelli64(FHandle);
#else
    const std::int64_t position = ftello(FHandle);
#endif
    if (position < 0) RaiseError("Cannot get the position in file");
    return position;
}

void TFileStream::SeekTo(std::int64_t Position)
{
#ifdef _WIN32
    const int failed = _fseeki64(FHandle, Position, SEEK_SET);
#else
    static_assert(sizeof(off_t) >= 8, "64-bit file offsets needed");
    const int failed = fseeko(FHandle, static_cast<off_t>(Position), SEEK_SET);
#endif
    if (failed != 0) RaiseError("Cannot seek in file");
    FLastOp = TLastOp::None;
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count)
{
    if (Count <= 0) return 0;
    if (FLastOp == TLastOp::Write) SeekTo(Tell());
    FLastOp = TLastOp::Read;
    auto* out = static_cast<unsigned char*>(Buffer);
    std::int64_t total = 0;
    while (total < Count) {
        const auto chunk = static_cast<std::size_t>(std::min(Count - total, MaxChunk));
        const std::size_t n = std::fread(out + total, 1, chunk, FHandle);
        total += static_cast<std::int64_t>(n);
        if (n < chunk) break; // end of file or error: the caller sees the short count
    }
    return total;
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0) return 0;
    if (FLastOp == TLastOp::Read) SeekTo(Tell());
    FLastOp = TLastOp::Write;
    const auto* in = static_cast<const unsigned char*>(Buffer);
    std::int64_t total = 0;
    while (total < Count) {
        const auto chunk = static_cast<std::size_t>(std::min(Count - total, MaxChunk));
        const std::size_t n = std::fwrite(in + total, 1, chunk, FHandle);
        total += static_cast<std::int64_t>(n);
        if (n < chunk) break;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    if (Origin == TSeekOrigin::soCurrent && Offset == 0) return Tell(); // Position(): keep the buffer
    const std::int64_t current = Tell();
    std::int64_t base = 0;
    if (Origin == TSeekOrigin::soCurrent) base = current;
    if (Origin == TSeekOrigin::soEnd) {
#ifdef _WIN32
        const int failed = _fseeki64(FHandle, 0, SEEK_END);
#else
        const int failed = fseeko(FHandle, 0, SEEK_END);
#endif
        if (failed != 0) RaiseError("Cannot seek in file");
        FLastOp = TLastOp::None;
        base = Tell();
    }
    if ((Offset > 0 && base > std::numeric_limits<std::int64_t>::max() - Offset) || base + Offset < 0) {
        SeekTo(current);
        throw EStreamError(ResStr("Invalid stream position"));
    }
    SeekTo(base + Offset);
    return base + Offset;
}

void TFileStream::SetSize(std::int64_t NewSize)
{
    if (NewSize < 0) throw EStreamError(ResStr("Invalid stream size"));
    const std::int64_t position = Tell();
    Flush();
#ifdef _WIN32
    const int error = _chsize_s(_fileno(FHandle), NewSize);
    if (error != 0) {
        errno = error;
        RaiseError("Cannot set the size of file");
    }
#else
    if (ftruncate(fileno(FHandle), static_cast<off_t>(NewSize)) != 0) RaiseError("Cannot set the size of file");
#endif
    SeekTo(std::min(position, NewSize)); // also drops what stdio had buffered for reading
}

void TFileStream::Flush()
{
    if (std::fflush(FHandle) != 0) throw EWriteError(ResStr("Stream write error"));
}

} // namespace kv
