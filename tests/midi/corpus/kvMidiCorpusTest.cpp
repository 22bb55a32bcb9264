// Every MIDI file of the Debian packages that scripts/setup installs is read by the song reader
// and by midicsv, an independent reader; both event lists must agree. Read, write and read again
// must give the same events.
#include "MidiDump.h"

#include "base/Conversions.h"
#include "base/Format.h"
#include "midi/kvMidiVarLen.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kv {
namespace {

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    std::array<char, 65536> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

std::string Quoted(const std::string& path)
{
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::vector<std::string> CorpusFiles()
{
    std::istringstream listing(RunCommand("dpkg -L openttd-openmsx planetblupi-music-midi mma 2>/dev/null"));
    std::vector<std::string> files;
    for (std::string line; std::getline(listing, line);) {
        const std::string ext = LowerCase(ExtractFileExt(line));
        if (ext == ".mid" || ext == ".midi" || ext == ".kar") files.push_back(line);
    }
    return files;
}

// ---- midicsv's records as event bytes --------------------------------------------------------

struct Record {
    int track;
    std::uint32_t time;
    std::string bytes;
};

// Splits "1, 0, Title_t, "a, b"" into its fields; a quoted text loses its quotes and escapes.
std::vector<std::string> CsvFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (i <= line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '\\') {
                    field += '\\';
                    ++i;
                } else if (line[i] == '\\' && i + 3 < line.size()) {
                    field += static_cast<char>(std::stoi(line.substr(i + 1, 3), nullptr, 8));
                    i += 3;
                } else {
                    field += line[i];
                }
            }
            while (i < line.size() && line[i] != ',') ++i;
        } else {
            const std::size_t comma = line.find(',', i);
            field = line.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
            i = comma == std::string::npos ? line.size() : comma;
        }
        fields.push_back(field);
        ++i; // the comma
    }
    return fields;
}

std::string Byte(long value) { return std::string(1, static_cast<char>(value & 0xFF)); }

std::string Meta(int type, const std::string& data)
{
    std::string bytes = Byte(0xFF) + Byte(type);
    WriteVarLen(bytes, static_cast<std::uint32_t>(data.size()));
    return bytes + data;
}

std::string Numbers(const std::vector<std::string>& fields, std::size_t from)
{
    std::string data;
    for (std::size_t i = from; i < fields.size(); ++i) data += Byte(std::stol(fields[i]));
    return data;
}

// The bytes of one midicsv record; an empty text for records of the file's structure.
std::string RecordBytes(const std::vector<std::string>& f)
{
    const std::string& type = f[2];
    auto n = [&f](std::size_t i) { return std::stol(f[i]); };
    static const std::map<std::string, int> texts = {{"Text_t", 1},          {"Copyright_t", 2}, {"Title_t", 3},
                                                     {"Instrument_name_t", 4}, {"Lyric_t", 5},     {"Marker_t", 6},
                                                     {"Cue_point_t", 7}};
    static const std::map<std::string, int> channelMessages = {
        {"Note_off_c", 0x80}, {"Note_on_c", 0x90},     {"Poly_aftertouch_c", 0xA0}, {"Control_c", 0xB0},
        {"Program_c", 0xC0},  {"Channel_aftertouch_c", 0xD0}};
    if (auto text = texts.find(type); text != texts.end()) return Meta(text->second, f[3]);
    if (auto message = channelMessages.find(type); message != channelMessages.end())
        return Byte(message->second + n(3)) + Numbers(f, 4);
    if (type == "Pitch_bend_c") return Byte(0xE0 + n(3)) + Byte(n(4) & 0x7F) + Byte(n(4) >> 7);
    if (type == "End_track") return Meta(0x2F, "");
    if (type == "Tempo") return Meta(0x51, Byte(n(3) >> 16) + Byte(n(3) >> 8) + Byte(n(3)));
    if (type == "Time_signature") return Meta(0x58, Numbers(f, 3));
    if (type == "Key_signature") return Meta(0x59, Byte(n(3)) + Byte(f[4] == "minor" ? 1 : 0));
    if (type == "SMPTE_offset") return Meta(0x54, Numbers(f, 3));
    if (type == "MIDI_port") return Meta(0x21, Numbers(f, 3));
    if (type == "Channel_prefix") return Meta(0x20, Numbers(f, 3));
    if (type == "Sequence_number") return Meta(0x00, Byte(n(3) >> 8) + Byte(n(3)));
    if (type == "Sequencer_specific") return Meta(0x7F, Numbers(f, 4));
    if (type == "Unknown_meta_event") return Meta(static_cast<int>(n(3)), Numbers(f, 5));
    if (type == "System_exclusive" || type == "System_exclusive_packet") {
        std::string bytes = Byte(type == "System_exclusive" ? 0xF0 : 0xF7);
        WriteVarLen(bytes, static_cast<std::uint32_t>(n(3)));
        return bytes + Numbers(f, 4);
    }
    if (type == "Start_track" || type == "End_of_file" || type == "Header") return "";
    ADD_FAILURE() << "unknown midicsv record " << type;
    return "";
}

bool IsNoteOn(const std::string& b) { return (b[0] & 0xF0) == 0x90 && b[2] != 0; }
bool IsNoteOff(const std::string& b) { return (b[0] & 0xF0) == 0x80 || ((b[0] & 0xF0) == 0x90 && b[2] == 0); }

// The song drops note-ons that no later note-off of their note number ends (in any channel,
// each note-off ending the oldest waiting note-on): so does the comparison.
void DropUnendedNoteOns(std::vector<Record>& records)
{
    std::map<std::pair<int, int>, std::deque<std::size_t>> waiting; // (track, note) -> indexes
    std::vector<bool> ended(records.size(), true);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string& b = records[i].bytes;
        const auto key = std::make_pair(records[i].track, b.size() > 1 ? static_cast<int>(b[1]) : -1);
        if (IsNoteOn(b)) {
            waiting[key].push_back(i);
            ended[i] = false;
        } else if (b.size() == 3 && IsNoteOff(b) && !waiting[key].empty()) {
            ended[waiting[key].front()] = true;
            waiting[key].pop_front();
        }
    }
    std::vector<Record> kept;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (ended[i]) kept.push_back(records[i]);
    records.swap(kept);
}

std::string NormalisedMidicsv(const std::string& csv)
{
    std::istringstream in(csv);
    std::string header;
    std::vector<Record> records;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> f = CsvFields(line);
        if (f.size() < 3) continue;
        if (f[2] == "Header") header = Format("0, 0, Header, %s, %s, %s\n", {f[3], f[4], f[5]});
        const std::string bytes = RecordBytes(f);
        if (!bytes.empty()) records.push_back({std::stoi(f[0]), static_cast<std::uint32_t>(std::stoul(f[1])), bytes});
    }
    DropUnendedNoteOns(records);
    std::string dump = header;
    for (const Record& r : records) {
        dump += std::to_string(r.track) + ", " + std::to_string(r.time) + ", ";
        tools::AppendHex(dump, r.bytes);
        dump += '\n';
    }
    return dump;
}

// ---- the tests ------------------------------------------------------------------------------------

TEST(MidiCorpusTest, NormalisingMidicsvRecords)
{
    const std::string csv = "0, 0, Header, 1, 1, 96\n1, 0, Start_track\n"
                            "1, 0, Title_t, \"a, \"\"b\"\"\\\\\\311\"\n"
                            "1, 0, System_exclusive, 3, 126, 9, 247\n1, 5, Pitch_bend_c, 2, 8192\n"
                            "1, 5, Note_on_c, 0, 60, 9\n1, 6, Note_on_c, 0, 61, 9\n1, 7, Note_off_c, 1, 60, 0\n"
                            "1, 7, Key_signature, -2, \"minor\"\n1, 8, End_track\n0, 0, End_of_file\n";
    EXPECT_EQ(NormalisedMidicsv(csv), "0, 0, Header, 1, 1, 96\n"
                                      "1, 0, FF 03 08 61 2C 20 22 62 22 5C C9\n"
                                      "1, 0, F0 03 7E 09 F7\n1, 5, E2 00 40\n1, 5, 90 3C 09\n1, 7, 81 3C 00\n"
                                      "1, 7, FF 59 02 FE 01\n1, 8, FF 2F 00\n");
}

TEST(MidiCorpusTest, EveryFileAgreesWithMidicsvAndSurvivesARoundTrip)
{
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_FALSE(files.empty()) << "no MIDI files: run scripts/setup";
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TKVMidiFile song(nullptr);
        song.SetFileName(file);
        song.SetFileType(feMidi);
        ASSERT_NO_THROW(song.ReadFile());
        const std::string dump = tools::DumpSong(song);
        const std::string expected = NormalisedMidicsv(RunCommand("midicsv " + Quoted(file)));
        EXPECT_EQ(dump, expected);

        TMemoryStream written;
        song.WriteFile(written);
        TKVMidiFile reread(nullptr);
        reread.ReadFile(written);
        EXPECT_EQ(tools::DumpSong(reread), dump);
    }
}

} // namespace
} // namespace kv
