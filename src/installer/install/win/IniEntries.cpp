#include "installer/install/SystemChanges.h"

#include "installer/install/IniAssignment.h"
#include "installer/install/InstallEngine.h"
#include "installer/install/InstallFileSystem.h"
#include "installer/state/UninstallLists.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/ConditionEvaluation.h"
#include "installer/variables/TextExpansion.h"

#include <windows.h>

#include <string>

namespace {

std::string expandedFolders(const ByteString& text)
{
    ByteString copy(text);
    expandFolderVariables(copy);
    return std::string(reinterpret_cast<const char*>(copy.data()), copy.length());
}

// The system writes an INI file in the ANSI code page unless the file starts with the UTF-16
// byte-order mark; a new file gets the mark when the code page cannot carry the entry's texts.
bool codePageCarries(const std::string& utf8)
{
    const WideName wide(utf8);
    BOOL lossy = FALSE;
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, &lossy) > 0 && !lossy;
}

void createIniFile(const std::string& file, bool wide)
{
    if (!wide) {
        installFileSystem().createEmpty(file);
        return;
    }
    const std::uint8_t mark[] = {0xFF, 0xFE};
    ByteString(mark, sizeof mark).saveToFile(file.c_str());
}

void writeIniEntry(const IniEntry& entry)
{
    const auto assignment = splitIniAssignment(expandedFolders(entry.line));
    if (!assignment)
        return;
    const std::string file = expandedFolders(entry.file);
    const std::string section = expandedFolders(entry.section);
    InstallFileSystem& fs = installFileSystem();
    if (!fs.exists(file)) {
        addListEntry(file.c_str(), gUninstallLog.files);
        createIniFile(file, !codePageCarries(section) || !codePageCarries(assignment->key) ||
                                !codePageCarries(assignment->value));
    }
    WritePrivateProfileStringW(WideName(section), WideName(assignment->key), WideName(assignment->value), WideName(file));
}

} // namespace

std::uint8_t writeIniEntries()
{
    const std::vector<IniEntry>& entries = gPackageToc.iniEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!conditionHolds(entries[i].condition.get()))
            continue;
        writeIniEntry(entries[i]);
        setProgress(static_cast<std::int32_t>((i + 1) * 100 / entries.size()), 0);
    }
    // Flushes the system's cache of INI files.
    WritePrivateProfileSectionA(nullptr, nullptr, nullptr);
    return 1;
}
