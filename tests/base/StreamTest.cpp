#include "base/Exceptions.h"
#include "base/TFileStream.h"
#include "base/TMemoryStream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kv {
namespace {

namespace fs = std::filesystem;

std::string Bytes(TMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string Utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = fs::temp_directory_path() /
                  ("kv_base_test_" + std::to_string(random()) + "_" + std::to_string(static_cast<long long>(now)));
        ASSERT_TRUE(fs::create_directories(folder_));
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // The UTF-8 name of a file in the folder.
    std::string File(const std::string& utf8Name) const
    {
        return Utf8(folder_ / fs::path(std::u8string(utf8Name.begin(), utf8Name.end())));
    }
    static std::string ReadAll(const std::string& name)
    {
        std::ifstream in(fs::path(std::u8string(name.begin(), name.end())), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteAll(const std::string& name, const std::string& bytes)
    {
        std::ofstream out(fs::path(std::u8string(name.begin(), name.end())), std::ios::binary);
        out << bytes;
    }

    fs::path folder_;
};

// ---- TMemoryStream ----

TEST(MemoryStreamTest, WriteReadSeek)
{
    TMemoryStream stream;
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Write("hello", 5), 5);
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Seek(1, TSeekOrigin::soBeginning), 1);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "ell");
    EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soCurrent), 2);
    EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soEnd), 4);
    EXPECT_EQ(stream.Read(buffer, 8), 1);
    EXPECT_EQ(buffer[0], 'o');
    stream.SetPosition(0);
    EXPECT_EQ(stream.Write("J", 1), 1);
    EXPECT_EQ(Bytes(stream), "Jello");
}

TEST(MemoryStreamTest, ReadAtOrAfterEndAndNegativeCounts)
{
    TMemoryStream stream;
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    stream.Write("ab", 2);
    EXPECT_EQ(stream.Read(buffer, 4), 0); // at the end
    stream.SetPosition(10);
    EXPECT_EQ(stream.Read(buffer, 4), 0); // after the end
    stream.SetPosition(0);
    EXPECT_EQ(stream.Read(buffer, -1), 0);
    EXPECT_EQ(stream.Read(buffer, 0), 0);
    EXPECT_EQ(stream.Write(buffer, -5), 0);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Size(), 2);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(MemoryStreamTest, SeekPastEndThenWriteFillsWithZeros)
{
    TMemoryStream stream;
    stream.Write("ab", 2);
    EXPECT_EQ(stream.Seek(3, TSeekOrigin::soEnd), 5);
    EXPECT_EQ(stream.Size(), 2); // seeking alone does not grow
    stream.Write("z", 1);
    EXPECT_EQ(stream.Size(), 6);
    EXPECT_EQ(Bytes(stream), std::string("ab\0\0\0z", 6));
}

TEST(MemoryStreamTest, SeekBeforeStartRaisesAndKeepsPosition)
{
    TMemoryStream stream;
    stream.Write("abc", 3);
    EXPECT_THROW(stream.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
    EXPECT_THROW(stream.Seek(-4, TSeekOrigin::soCurrent), EStreamError);
    EXPECT_THROW(stream.Seek(-4, TSeekOrigin::soEnd), EStreamError);
    EXPECT_THROW(stream.SetPosition(-1), EStreamError);
    EXPECT_EQ(stream.Position(), 3);
    EXPECT_EQ(stream.Seek(-3, TSeekOrigin::soEnd), 0);
}

TEST(MemoryStreamTest, PositionsThatWouldOverflow)
{
    TMemoryStream stream;
    stream.Write("abc", 3);
    const auto max = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(stream.Seek(max, TSeekOrigin::soBeginning), max);
    EXPECT_THROW(stream.Seek(1, TSeekOrigin::soCurrent), EStreamError);
    EXPECT_THROW(stream.Write("x", 1), EStreamError); // no wrap-around, no giant allocation
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_THROW(stream.Seek(max, TSeekOrigin::soEnd), EStreamError);
    EXPECT_THROW(stream.SetSize(-1), EStreamError);
}

TEST(MemoryStreamTest, SetSize)
{
    TMemoryStream stream;
    stream.Write("abcdef", 6);
    stream.SetPosition(2);
    stream.SetSize(4);
    EXPECT_EQ(Bytes(stream), "abcd");
    EXPECT_EQ(stream.Position(), 2); // kept
    stream.SetSize(6);
    EXPECT_EQ(Bytes(stream), std::string("abcd\0\0", 6)); // new bytes are zero
    EXPECT_EQ(stream.Position(), 2);
    stream.SetPosition(6);
    stream.SetSize(1);
    EXPECT_EQ(stream.Position(), 1); // past the end: moved to the end
    stream.SetSize(0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStreamTest, GrowthIsAmortised)
{
    TMemoryStream stream;
    const std::uint8_t* previous = nullptr;
    int moves = 0;
    for (int i = 0; i < 100000; ++i) {
        const auto byte = static_cast<std::uint8_t>(i);
        stream.WriteBuffer(&byte, 1);
        if (stream.Memory() != previous) ++moves;
        previous = stream.Memory();
    }
    EXPECT_EQ(stream.Size(), 100000);
    EXPECT_LT(moves, 40); // geometric growth: a few dozen reallocations, not one per write
    for (int i = 0; i < 100000; i += 997) ASSERT_EQ(stream.Memory()[i], static_cast<std::uint8_t>(i));
}

TEST(MemoryStreamTest, Clear)
{
    TMemoryStream stream;
    stream.Write("abc", 3);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
    stream.Write("d", 1);
    EXPECT_EQ(Bytes(stream), "d");
}

TEST(MemoryStreamTest, ReadBufferAndWriteBuffer)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcd", 4);
    stream.WriteBuffer(nullptr, 0);
    stream.SetPosition(0);
    char buffer[4];
    stream.ReadBuffer(buffer, 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    stream.ReadBuffer(buffer, 0); // nothing asked, nothing raised
    stream.SetPosition(2);
    try {
        stream.ReadBuffer(buffer, 3);
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
}

TEST(MemoryStreamTest, StreamSizeByDefaultKeepsPosition)
{
    // TStream::Size of a stream that does not override it.
    class TBareStream : public TStream {
    public:
        std::int64_t Read(void* Buffer, std::int64_t Count) override { return inner.Read(Buffer, Count); }
        std::int64_t Write(const void* Buffer, std::int64_t Count) override { return inner.Write(Buffer, Count); }
        std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override { return inner.Seek(Offset, Origin); }
        void SetSize(std::int64_t NewSize) override { inner.SetSize(NewSize); }
        TMemoryStream inner;
    } bare;
    bare.WriteBuffer("12345", 5);
    bare.SetPosition(2);
    EXPECT_EQ(bare.Size(), 5);
    EXPECT_EQ(bare.Position(), 2);
}

TEST(MemoryStreamTest, CopyFrom)
{
    TMemoryStream source;
    std::string data(200000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + 7);
    source.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));

    TMemoryStream all;
    all.WriteBuffer("<", 1);
    EXPECT_EQ(all.CopyFrom(source, 0), 200000); // from the start, whatever the position
    EXPECT_EQ(Bytes(all), "<" + data);

    TMemoryStream part;
    source.SetPosition(10);
    EXPECT_EQ(part.CopyFrom(source, 70000), 70000); // bigger than one buffer
    EXPECT_EQ(Bytes(part), data.substr(10, 70000));
    EXPECT_EQ(source.Position(), 70010);

    source.SetPosition(199990);
    TMemoryStream tooMuch;
    EXPECT_THROW(tooMuch.CopyFrom(source, 20), EReadError);

    TMemoryStream empty, target;
    EXPECT_EQ(target.CopyFrom(empty, 0), 0);
    EXPECT_EQ(target.Size(), 0);
}

TEST(MemoryStreamTest, LoadFromStreamAndSaveToStream)
{
    TMemoryStream source;
    source.WriteBuffer("data", 4);
    TMemoryStream copy;
    copy.WriteBuffer("old contents", 12);
    copy.LoadFromStream(source);
    EXPECT_EQ(Bytes(copy), "data");
    EXPECT_EQ(copy.Position(), 0);
    TMemoryStream target;
    target.WriteBuffer(">", 1);
    copy.SetPosition(3);
    copy.SaveToStream(target);
    EXPECT_EQ(Bytes(target), ">data");
}

// ---- TFileStream ----

using FileStreamTest = TempFolder;

TEST_F(FileStreamTest, CreateWriteReopenRead)
{
    const std::string name = File("song.mid");
    {
        TFileStream file(name, TFileMode::fmCreate);
        EXPECT_EQ(file.FileName(), name);
        file.WriteBuffer("MThd", 4);
        EXPECT_EQ(file.Position(), 4);
        EXPECT_EQ(file.Size(), 4);
    }
    EXPECT_EQ(ReadAll(name), "MThd");
    {
        TFileStream file(name, TFileMode::fmOpenRead);
        EXPECT_EQ(file.Size(), 4);
        char buffer[8];
        EXPECT_EQ(file.Read(buffer, 8), 4);
        EXPECT_EQ(std::string(buffer, 4), "MThd");
        EXPECT_EQ(file.Read(buffer, 8), 0);
        EXPECT_EQ(file.Read(buffer, -1), 0);
        EXPECT_EQ(file.Seek(-2, TSeekOrigin::soEnd), 2);
        file.ReadBuffer(buffer, 2);
        EXPECT_EQ(std::string(buffer, 2), "hd");
        EXPECT_THROW(file.ReadBuffer(buffer, 1), EReadError);
        EXPECT_EQ(file.Write("x", 1), 0); // opened for reading only
    }
}

TEST_F(FileStreamTest, CreateTruncatesExistingFile)
{
    const std::string name = File("old.bin");
    WriteAll(name, "0123456789");
    {
        TFileStream file(name, TFileMode::fmCreate);
        EXPECT_EQ(file.Size(), 0);
        file.WriteBuffer("ab", 2);
    }
    EXPECT_EQ(ReadAll(name), "ab");
}

TEST_F(FileStreamTest, OpenWriteKeepsContents)
{
    const std::string name = File("keep.bin");
    WriteAll(name, "0123456789");
    {
        TFileStream file(name, TFileMode::fmOpenWrite);
        file.SetPosition(3);
        file.WriteBuffer("abc", 3);
    }
    EXPECT_EQ(ReadAll(name), "012abc6789");
}

TEST_F(FileStreamTest, MixedReadsAndWrites)
{
    const std::string name = File("mixed.bin");
    WriteAll(name, "0123456789");
    {
        TFileStream file(name, TFileMode::fmOpenReadWrite);
        char buffer[4];
        file.ReadBuffer(buffer, 2);          // read "01"
        file.WriteBuffer("ab", 2);           // write at 2
        file.ReadBuffer(buffer, 2);          // read "45" right after it
        EXPECT_EQ(std::string(buffer, 2), "45");
        EXPECT_EQ(file.Position(), 6);
        file.WriteBuffer("cd", 2);
        file.Seek(0, TSeekOrigin::soBeginning);
        char all[10];
        file.ReadBuffer(all, 10);
        EXPECT_EQ(std::string(all, 10), "01ab45cd89");
    }
    EXPECT_EQ(ReadAll(name), "01ab45cd89");
}

TEST_F(FileStreamTest, SeekPastEndThenWriteFillsWithZeros)
{
    const std::string name = File("gap.bin");
    {
        TFileStream file(name, TFileMode::fmCreate);
        file.WriteBuffer("ab", 2);
        EXPECT_EQ(file.Seek(3, TSeekOrigin::soCurrent), 5);
        char c;
        EXPECT_EQ(file.Read(&c, 1), 0);
        file.WriteBuffer("z", 1);
        EXPECT_EQ(file.Size(), 6);
    }
    EXPECT_EQ(ReadAll(name), std::string("ab\0\0\0z", 6));
}

TEST_F(FileStreamTest, SeekBeforeStartRaisesAndKeepsPosition)
{
    TFileStream file(File("neg.bin"), TFileMode::fmCreate);
    file.WriteBuffer("abc", 3);
    EXPECT_THROW(file.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
    EXPECT_THROW(file.Seek(-4, TSeekOrigin::soCurrent), EStreamError);
    EXPECT_THROW(file.Seek(-4, TSeekOrigin::soEnd), EStreamError);
    EXPECT_EQ(file.Position(), 3);
    EXPECT_EQ(file.Seek(-3, TSeekOrigin::soEnd), 0);
}

TEST_F(FileStreamTest, LargeOffsets)
{
    // 64-bit positions: seek beyond 4 GiB without writing there (no disk space used).
    TFileStream file(File("large.bin"), TFileMode::fmCreate);
    const std::int64_t far = (std::int64_t{1} << 32) + 10;
    EXPECT_EQ(file.Seek(far, TSeekOrigin::soBeginning), far);
    EXPECT_EQ(file.Position(), far);
    EXPECT_EQ(file.Size(), 0);
}

TEST_F(FileStreamTest, SetSizeTruncatesAndExtends)
{
    const std::string name = File("size.bin");
    {
        TFileStream file(name, TFileMode::fmCreate);
        file.WriteBuffer("0123456789", 10);
        file.SetPosition(4);
        file.SetSize(6);
        EXPECT_EQ(file.Size(), 6);
        EXPECT_EQ(file.Position(), 4); // kept
        file.SetSize(8);
        EXPECT_EQ(file.Size(), 8);
        EXPECT_EQ(file.Position(), 4);
        char buffer[8];
        EXPECT_EQ(file.Read(buffer, 8), 4);
        EXPECT_EQ(std::string(buffer, 4), std::string("45\0\0", 4));
        file.SetSize(2);
        EXPECT_EQ(file.Position(), 2); // past the end: moved to the end
        file.WriteBuffer("x", 1);
        EXPECT_THROW(file.SetSize(-1), EStreamError);
    }
    EXPECT_EQ(ReadAll(name), "01x");
}

TEST_F(FileStreamTest, ReadingAfterSetSizeSeesNewContents)
{
    const std::string name = File("reread.bin");
    WriteAll(name, "abcdef");
    TFileStream file(name, TFileMode::fmOpenReadWrite);
    char buffer[6];
    file.ReadBuffer(buffer, 1); // stdio now holds the file in its buffer
    file.SetSize(3);
    EXPECT_EQ(file.Read(buffer, 6), 2);
    EXPECT_EQ(std::string(buffer, 2), "bc");
}

TEST_F(FileStreamTest, NonAsciiFileName)
{
    const std::string name = File("K\xC3\xA4se \xE2\x99\xAA \xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mid");
    {
        TFileStream file(name, TFileMode::fmCreate);
        file.WriteBuffer("MThd", 4);
    }
    EXPECT_TRUE(fs::exists(fs::path(std::u8string(name.begin(), name.end()))));
    bool found = false;
    for (const auto& entry : fs::directory_iterator(folder_))
        if (Utf8(entry.path().filename()) == "K\xC3\xA4se \xE2\x99\xAA \xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mid")
            found = true;
    EXPECT_TRUE(found);
    TMemoryStream memory;
    memory.LoadFromFile(name);
    EXPECT_EQ(Bytes(memory), "MThd");
}

TEST_F(FileStreamTest, OpenMissingFileNamesIt)
{
    const std::string name = File("missing.mid");
    try {
        TFileStream file(name, TFileMode::fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        const std::string prefix = "Cannot open file \"" + name + "\". ";
        EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
        EXPECT_GT(e.Message().size(), prefix.size()); // with the system's reason
    }
    EXPECT_THROW(TFileStream(name, TFileMode::fmOpenWrite), EFOpenError);
    EXPECT_THROW(TFileStream(name, TFileMode::fmOpenReadWrite), EFOpenError);
    EXPECT_FALSE(fs::exists(fs::path(std::u8string(name.begin(), name.end())))); // not created
}

TEST_F(FileStreamTest, CreateInMissingFolderRaises)
{
    const std::string name = File("no such folder/new.mid");
    try {
        TFileStream file(name, TFileMode::fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        const std::string prefix = "Cannot create file \"" + name + "\". ";
        EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
        EXPECT_GT(e.Message().size(), prefix.size());
    }
}

TEST_F(FileStreamTest, FolderIsNoFile)
{
    EXPECT_THROW(TFileStream(Utf8(folder_), TFileMode::fmOpenRead), EFOpenError);
    TMemoryStream memory;
    EXPECT_THROW(memory.LoadFromFile(Utf8(folder_)), EFOpenError);
}

TEST_F(FileStreamTest, MemoryStreamLoadAndSaveFiles)
{
    const std::string name = File("roundtrip.bin");
    std::string data(100000, '\0');
    std::mt19937 random(42);
    for (char& c : data) c = static_cast<char>(random());
    TMemoryStream out;
    out.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    out.SaveToFile(name);
    EXPECT_EQ(ReadAll(name), data);

    TMemoryStream in;
    in.WriteBuffer("previous", 8);
    in.LoadFromFile(name);
    EXPECT_EQ(Bytes(in), data);
    EXPECT_EQ(in.Position(), 0);

    TMemoryStream empty;
    empty.SaveToFile(name);
    EXPECT_EQ(ReadAll(name), "");
    in.LoadFromFile(name);
    EXPECT_EQ(in.Size(), 0);
}

TEST_F(FileStreamTest, LoadFromMissingFileNamesIt)
{
    const std::string name = File("absent.kar");
    TMemoryStream memory;
    try {
        memory.LoadFromFile(name);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("\"" + name + "\""), std::string::npos) << e.Message();
    }
    EXPECT_THROW(memory.SaveToFile(File("absent/x.mid")), EFCreateError);
}

TEST_F(FileStreamTest, CopyFromFileToFile)
{
    const std::string source = File("source.bin");
    const std::string target = File("target.bin");
    std::string data(150000, 'q');
    data[0] = 'A';
    data.back() = 'Z';
    WriteAll(source, data);
    {
        TFileStream in(source, TFileMode::fmOpenRead);
        TFileStream out(target, TFileMode::fmCreate);
        in.SetPosition(100);
        EXPECT_EQ(out.CopyFrom(in, 0), 150000);
    }
    EXPECT_EQ(ReadAll(target), data);
}

} // namespace
} // namespace kv
