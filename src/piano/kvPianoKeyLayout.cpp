#include "piano/kvPianoKeyLayout.h"

#include "base/Format.h"

#include <algorithm>
#include <cstring>

namespace kv {

namespace {

TKeyLayout MakeBuiltInLayout()
{
    struct Row {
        const char* Name;
        std::int32_t Code;
        std::int32_t Note;
    };
    static const Row rows[KeyLayoutRows] = {
        {"`", 192, 35},         {"1", 49, 36},          {"2", 50, 38},          {"3", 51, 40},
        {"4", 52, 41},          {"5", 53, 43},          {"6", 54, 45},          {"7", 55, 47},
        {"8", 56, 48},          {"9", 57, 50},          {"0", 48, 52},          {"-", 189, 53},
        {"=", 187, 55},         {"\\", 220, 57},        {"q", 81, 24},          {"w", 87, 26},
        {"e", 69, 28},          {"r", 82, 29},          {"t", 84, 31},          {"y", 89, 33},
        {"u", 85, 35},          {"i", 73, 36},          {"o", 79, 38},          {"p", 80, 40},
        {"[", 219, 41},         {"]", 221, 43},         {"a", 65, 12},          {"s", 83, 14},
        {"d", 68, 16},          {"f", 70, 17},          {"g", 71, 19},          {"h", 72, 21},
        {"j", 74, 23},          {"k", 75, 24},          {"l", 76, 26},          {";", 186, 28},
        {"'", 222, 29},         {"z", 90, 0},           {"x", 88, 2},           {"c", 67, 4},
        {"v", 86, 5},           {"b", 66, 7},           {"n", 78, 9},           {"m", 77, 11},
        {",", 188, 12},         {".", 190, 14},         {"/", 191, 16},         {"Ins", 45, 53},
        {"Home", 36, 55},       {"Up", 33, 57},         {"Del", 46, 48},        {"End", 35, 50},
        {"Down", 34, 52},       {"Up", 38, 17},         {"Left", 37, 12},       {"Down", 40, 14},
        {"Right", 39, 16},      {"Num Lock", 144, 41},  {"Num /", 111, 43},     {"Num *", 106, 45},
        {"Num -", 109, 47},     {"Num 7", 103, 35},     {"Num 8", 104, 36},     {"Num 9", 105, 38},
        {"Num +", 107, 40},     {"Num 4", 100, 29},     {"Num 5", 101, 31},     {"Num 6", 102, 33},
        {"Num 1", 97, 24},      {"Num 2", 98, 26},      {"Num 3", 99, 28},      {"Num Enter", 13, 23},
        {"Num 0", 96, 19},      {"Num .", 110, 21},
    };
    TKeyLayout layout;
    for (int i = 0; i < KeyLayoutRows; ++i) layout[i] = MakeKeyLayoutRec(rows[i].Name, rows[i].Code, rows[i].Note);
    return layout;
}

void PutInt32(std::uint8_t* To, std::int32_t Value)
{
    const auto bits = static_cast<std::uint32_t>(Value);
    for (int i = 0; i < 4; ++i) To[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* From)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(From[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

constexpr std::uint8_t FileHeader[16] = {'K', 'B', 'L', 0, '2', '.', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0};

} // namespace

const TKeyLayout& BuiltInKeyLayout()
{
    static const TKeyLayout builtIn = MakeBuiltInLayout();
    return builtIn;
}

TKeyLayout KeyLayout = BuiltInKeyLayout();

std::string KeyNameOf(const TKeyLayoutRec& Row)
{
    const std::size_t length = std::min<std::size_t>(Row.KeyName[0], 15);
    return std::string(reinterpret_cast<const char*>(Row.KeyName + 1), length);
}

TKeyLayoutRec MakeKeyLayoutRec(const std::string& Name, std::int32_t Code, std::int32_t Note)
{
    TKeyLayoutRec row;
    const std::size_t length = std::min<std::size_t>(Name.size(), 15);
    row.KeyName[0] = static_cast<std::uint8_t>(length);
    std::memcpy(row.KeyName + 1, Name.data(), length);
    row.KeyCode = Code;
    row.KeyNote = Note;
    return row;
}

std::vector<std::uint8_t> KeyLayoutToBytes(const TKeyLayout& Layout)
{
    std::vector<std::uint8_t> bytes(KeyLayoutFileSize, 0);
    std::memcpy(bytes.data(), FileHeader, sizeof(FileHeader));
    std::uint8_t* at = bytes.data() + sizeof(FileHeader);
    for (const TKeyLayoutRec& row : Layout) {
        std::memcpy(at, row.KeyName, 16);
        PutInt32(at + 16, row.KeyCode);
        PutInt32(at + 20, row.KeyNote);
        at += sizeof(TKeyLayoutRec);
    }
    return bytes;
}

TKeyLayout KeyLayoutFromBytes(const std::uint8_t* Bytes, std::size_t Size, const std::string& FileName)
{
    auto fail = [&](const std::string& reason) {
        throw EKeyLayoutError(Format("Invalid keyboard layout file \"%s\": %s", {FileName, reason}));
    };
    if (Size < KeyLayoutFileSize)
        fail(Format("it holds %d bytes, a layout needs %d", {static_cast<int>(Size), static_cast<int>(KeyLayoutFileSize)}));
    TKeyLayout layout;
    const std::uint8_t* at = Bytes + sizeof(FileHeader);
    for (int i = 0; i < KeyLayoutRows; ++i, at += sizeof(TKeyLayoutRec)) {
        TKeyLayoutRec& row = layout[i];
        std::memcpy(row.KeyName, at, 16);
        row.KeyCode = GetInt32(at + 16);
        row.KeyNote = GetInt32(at + 20);
        if (row.KeyName[0] > 15) fail(Format("row %d has a name of %d characters, at most 15 fit", {i, row.KeyName[0]}));
        if (row.KeyCode < 0 || row.KeyCode > KeyLayoutMaxCode)
            fail(Format("row %d has the key code %d, outside 0..%d", {i, row.KeyCode, KeyLayoutMaxCode}));
    }
    return layout;
}

} // namespace kv
