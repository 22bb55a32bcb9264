#include "app/uSettings.h"

namespace kv {

namespace {

TColor CheckedColor(const TIniFile& Ini, const char* Key, TColor Default)
{
    const std::int32_t value = Ini.ReadInteger(SectionCommon, Key, Default);
    return value >= 0 && value <= 0xFFFFFF ? value : Default;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

std::string FolderOf(const std::string& Path)
{
    const std::size_t slash = Path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : Path.substr(0, slash + 1);
}

std::string ChangeFileExt(const std::string& Path, const std::string& Ext)
{
    const std::size_t folder = FolderOf(Path).size();
    const std::size_t dot = Path.rfind('.');
    return (dot == std::string::npos || dot < folder ? Path : Path.substr(0, dot)) + Ext;
}

std::string SettingsFileName(const std::string& ProgramPath) { return ChangeFileExt(ProgramPath, ".ini"); }

std::string InProgramFolder(const std::string& ProgramFolder, const std::string& Name)
{
    const bool absolute = (!Name.empty() && IsSeparator(Name[0])) || (Name.size() >= 2 && Name[1] == ':');
    return absolute ? Name : ProgramFolder + Name;
}

TKVCommonOptions ReadCommonOptions(const TIniFile& Ini, const TKVCommonOptions& Defaults)
{
    TKVCommonOptions options = Defaults;
    options.DefaultColor = CheckedColor(Ini, "DefaultColor", Defaults.DefaultColor);
    options.HandColorL = CheckedColor(Ini, "HandColorL", Defaults.HandColorL);
    options.HandColorR = CheckedColor(Ini, "HandColorR", Defaults.HandColorR);
    options.AutoRepeat = Ini.ReadBool(SectionCommon, "AutoRepeat", Defaults.AutoRepeat);
    options.StayOnTop = Ini.ReadBool(SectionCommon, "StayOnTop", Defaults.StayOnTop);
    options.LastFile = Ini.ReadString(SectionCommon, "LastFile", Defaults.LastFile);
    if (options.LastFile.empty()) options.LastFile = UntitledFileName;
    const std::int32_t showRoll = Ini.ReadInteger(SectionPianoRoll, "ShowRoll", Defaults.ShowRoll);
    options.ShowRoll = showRoll == 0 || showRoll == 1 ? showRoll : Defaults.ShowRoll;
    return options;
}

void WriteCommonOptions(TIniFile& Ini, const TKVCommonOptions& Options)
{
    Ini.WriteInteger(SectionCommon, "DefaultColor", Options.DefaultColor);
    Ini.WriteInteger(SectionCommon, "HandColorL", Options.HandColorL);
    Ini.WriteInteger(SectionCommon, "HandColorR", Options.HandColorR);
    Ini.WriteBool(SectionCommon, "AutoRepeat", Options.AutoRepeat);
    Ini.WriteBool(SectionCommon, "StayOnTop", Options.StayOnTop);
    Ini.WriteString(SectionCommon, "LastFile", Options.LastFile);
}

std::string DeviceListText(const std::vector<bool>& Checked)
{
    std::string text;
    for (std::size_t i = 0; i < Checked.size(); ++i)
        if (Checked[i]) text += "[" + std::to_string(i) + "]";
    return text;
}

bool DeviceListHas(const std::string& List, int Index)
{
    std::size_t open = List.find('[');
    while (open != std::string::npos) {
        const std::size_t close = List.find(']', open + 1);
        if (close == std::string::npos) return false;
        const std::string number = List.substr(open + 1, close - open - 1);
        std::int32_t value = -1;
        const bool digits = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
        if (digits && ParseIniInteger(number, value) && value == Index) return true;
        open = List.find('[', open + 1);
    }
    return false;
}

} // namespace kv
