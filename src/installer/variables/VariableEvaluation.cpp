#include "installer/variables/VariableEvaluation.h"

#include "installer/state/InstallerState.h"
#include "installer/text/DecimalNumbers.h"
#include "installer/variables/FileSearchNote.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableSources.h"

#include <vector>

namespace {

// Flags of the sources.
constexpr std::uint32_t kFlagKeyExists = 0x1;   // registry, INI: whether the key exists
constexpr std::uint32_t kFlagValueExists = 0x2; // registry: whether the value exists
constexpr std::uint32_t kFlagDriveOnly = 0x2;   // file search: the drive, not the folder
constexpr std::uint32_t kFlagNoDriveSearch = 0x4; // file search: no fall-back to all fixed drives

constexpr std::uint32_t kIniTextSize = 10240;
constexpr std::uint32_t kIniProbeSize = 260;
constexpr std::size_t kFindingFileText = 175;

int nesting = 0;

class NestingScope {
public:
    NestingScope() { ++nesting; }
    ~NestingScope() { --nesting; }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;
};

bool isInteger(const InstallerVariable& variable)
{
    return variable.kind == kVariableInteger;
}

// The folder list of a file search is separated by "<\0>"; every separator (and every carriage
// return) becomes a NUL byte, and the list ends with an empty name.
void splitFolderList(InstallerVariable& variable)
{
    variable.textB.replace("<\\0>", "\r");
    variable.textB.replaceChar('\r', '\0');
    if (variable.state == kVariableFromFileSearch)
        variable.textB.appendChar('\0');
}

void readIni(InstallerVariable& variable)
{
    const VariableSources& sources = variableSources();
    const char* file = variable.textA.cStr();
    const char* section = variable.textB.cStr();
    const char* key = variable.textC.cStr();
    if (isInteger(variable) && (variable.flags & kFlagKeyExists)) {
        // A missing key gives the default: asking with two defaults tells it from a stored value.
        if (!sources.readIniText(file, section, key, "0", kIniProbeSize).equalsCStr("0"))
            variable.valueInt = 1;
        else
            variable.valueInt = sources.readIniText(file, section, key, "1", kIniProbeSize).equalsCStr("1") ? 0 : 1;
    } else if (isInteger(variable)) {
        variable.valueInt = sources.readIniInt(file, section, key, decimalValue(variable.defaultText));
    } else {
        variable.valueText = sources.readIniText(file, section, key, variable.defaultText.cStr(), kIniTextSize);
    }
}

// The first four bytes as a little-endian number; bytes the value does not have count as 0.
std::int32_t littleEndianValue(const std::vector<std::uint8_t>& bytes, std::size_t valueSize)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && i < valueSize; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

void readRegistry(InstallerVariable& variable)
{
    const VariableSources& sources = variableSources();
    const std::int32_t root = decimalValue(variable.textA);
    const char* keyPath = variable.textB.cStr();
    const char* valueName = variable.textC.cStr();
    if (isInteger(variable) && (variable.flags & (kFlagKeyExists | kFlagValueExists))) {
        const bool exists = (variable.flags & kFlagKeyExists) ? sources.registryKeyExists(root, keyPath)
                                                                 : sources.registryValueExists(root, keyPath, valueName);
        variable.valueInt = exists ? 1 : 0;
        if (!exists && isExactDecimal(variable.defaultText))
            variable.valueInt = decimalValue(variable.defaultText);
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (sources.readRegistryBytes(root, keyPath, valueName, &bytes) != 1 || bytes.empty()) {
        if (isInteger(variable))
            variable.valueInt = decimalValue(variable.defaultText);
        else
            variable.valueText = variable.defaultText;
        return;
    }
    // The bytes end with one zero byte that is not part of the value.
    const std::size_t valueSize = bytes.size() - 1;
    if (isInteger(variable))
        variable.valueInt = littleEndianValue(bytes, valueSize);
    else
        variable.valueText.assignCStr(reinterpret_cast<const char*>(bytes.data()));
}

class SearchNote {
public:
    explicit SearchNote(const ByteString& fileName)
    {
        const FileSearchNote& note = fileSearchNote();
        if (gFlags.silent || !note.open)
            return;
        const char* override = getVariableText("<__Internal_FindingFile__>");
        ByteString format(override ? override : gLanguageTexts[kFindingFileText].cStr());
        // The name is UTF-8, as every name inside the installer.
        ByteString name(fileName);
        ByteString text;
        text.format(format.cStr(), name.cStr());
        close_ = note.close;
        handle_ = note.open(text.cStr());
    }
    ~SearchNote()
    {
        if (handle_ && close_)
            close_(handle_);
    }
    SearchNote(const SearchNote&) = delete;
    SearchNote& operator=(const SearchNote&) = delete;

private:
    FileSearchNoteClose close_ = nullptr;
    void* handle_ = nullptr;
};

// Each folder of the NUL-separated list, with a backslash appended when missing.
bool searchListedFolders(const InstallerVariable& variable, const char* name, ByteString& found)
{
    const VariableSources& sources = variableSources();
    const std::uint8_t* list = variable.textB.data();
    const std::uint32_t length = variable.textB.length();
    std::uint32_t start = 0;
    while (start < length && list[start] != '\0') {
        std::uint32_t end = start;
        while (end < length && list[end] != '\0')
            ++end;
        ByteString folder(list + start, end - start);
        if (folder.at(folder.length() - 1) != '\\')
            folder.appendChar('\\');
        if (sources.findFile(folder.cStr(), name, &found) > 0)
            return true;
        start = end + 1;
    }
    return false;
}

void searchFile(InstallerVariable& variable)
{
    SearchNote note(variable.textA);
    const char* name = variable.textA.cStr();
    ByteString found;
    bool isFound = searchListedFolders(variable, name, found);
    if (!isFound && !(variable.flags & kFlagNoDriveSearch))
        isFound = variableSources().findFileOnFixedDrives(name, &found) > 0;
    if (!isFound) {
        variable.valueInt = 0;
        variable.valueText = variable.defaultText;
        return;
    }
    variable.valueInt = 1;
    if (variable.flags & kFlagDriveOnly) {
        variable.valueText = ByteString::initChar(found.at(0));
        variable.valueText.appendChar(':');
    } else {
        variable.valueText = found;
        if (!found.empty() && found.at(found.length() - 1) == '\\')
            variable.valueText.erase(found.length() - 1, 1);
    }
}

void expandOwnTexts(InstallerVariable& variable)
{
    expandVariables(variable.defaultText, kAllVariables);
    expandVariables(variable.textC, kAllVariables);
    expandVariables(variable.textB, kAllVariables);
    expandVariables(variable.textA, kAllVariables);
}

} // namespace

void evaluateVariable(std::int32_t index)
{
    auto& variables = gPackageToc.variables;
    if (index < 0 || static_cast<std::size_t>(index) >= variables.size())
        return;
    InstallerVariable& variable = *variables[static_cast<std::size_t>(index)];
    if (variable.state == kVariableKnown)
        return;
    NestingScope scope;

    expandFolderVariables(variable.defaultText);
    expandFolderVariables(variable.textC);
    expandFolderVariables(variable.textB);
    expandFolderVariables(variable.textA);
    expandBuiltinVariables(variable.defaultText);
    expandBuiltinVariables(variable.textC);
    expandBuiltinVariables(variable.textB);
    splitFolderList(variable);
    expandBuiltinVariables(variable.textA);

    if (variable.state == kVariableBeingEvaluated || nesting > kMaxVariableNesting)
        return;
    const std::int32_t source = variable.state;
    variable.state = kVariableBeingEvaluated;
    expandOwnTexts(variable);
    variable.state = source;

    switch (source) {
    case kVariableFromIni: readIni(variable); break;
    case kVariableFromRegistry: readRegistry(variable); break;
    case kVariableFromFileSearch: searchFile(variable); break;
    default: break; // any other source leaves the value as it is
    }

    variable.state = kVariableKnown;
    if (isInteger(variable))
        variable.valueText = decimalText(variable.valueInt);
    else
        variable.valueInt = decimalValue(variable.valueText);
}
