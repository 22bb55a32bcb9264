#pragma once
// The program's settings file: its name beside the program, the options of [Common] and
// [PianoRoll] the options window reads at start and writes at the end, and the device lists of
// [Device]. Every value read is checked: a value the program cannot use gives the default.
#include "base/TIniFile.h"
#include "gui/TColor.h"

#include <string>
#include <vector>

namespace kv {

constexpr char SectionCommon[] = "Common";
constexpr char SectionDevice[] = "Device";
constexpr char SectionPianoRoll[] = "PianoRoll";
constexpr char UntitledFileName[] = "Untitled.mid";

// The options kept in [Common] (and ShowRoll of [PianoRoll]).
struct TKVCommonOptions {
    TColor DefaultColor = 0;
    TColor HandColorL = 0;
    TColor HandColorR = 0;
    bool AutoRepeat = false;
    bool StayOnTop = false;
    std::string LastFile = UntitledFileName;
    int ShowRoll = 0;
};

// The path with its extension (if any) replaced by Ext (".ini").
std::string ChangeFileExt(const std::string& Path, const std::string& Ext);
// The settings file of the program at ProgramPath: the same path with the extension ".ini".
std::string SettingsFileName(const std::string& ProgramPath);
// The folder of a file's path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& Path);
// A file name as the program means it: a relative one lies in the program's folder.
std::string InProgramFolder(const std::string& ProgramFolder, const std::string& Name);

// Reads the options over Defaults. A colour outside 0..$FFFFFF, a boolean or ShowRoll that is no
// integer, or a ShowRoll other than 0 and 1 gives the default; an empty LastFile gives
// "Untitled.mid".
TKVCommonOptions ReadCommonOptions(const TIniFile& Ini, const TKVCommonOptions& Defaults);
// Writes DefaultColor, HandColorL, HandColorR, AutoRepeat, StayOnTop and LastFile, in this order.
void WriteCommonOptions(TIniFile& Ini, const TKVCommonOptions& Options);

// A device list: "[%d]" for each checked device index, in index order ("[0][2]").
std::string DeviceListText(const std::vector<bool>& Checked);
// Whether the list names the device: only a whole "[n]" with exactly that number counts, so
// "[1][3]" names neither 11 nor 13; text that is no "[n]" is passed over.
bool DeviceListHas(const std::string& List, int Index);

} // namespace kv
