#include "installer/variables/TextExpansion.h"

#include "installer/state/InstallerState.h"

namespace {

void expandEntryText(ByteString& text)
{
    expandBuiltinVariables(text);
    expandVariables(text, kAllVariables);
}

} // namespace

void expandEntryTables()
{
    for (ShortcutEntry& entry : gPackageToc.shortcuts)
        for (ByteString* text : {&entry.target, &entry.shortcutFile, &entry.arguments, &entry.workingFolder, &entry.icon})
            expandEntryText(*text);
    for (IniEntry& entry : gPackageToc.iniEntries)
        for (ByteString* text : {&entry.file, &entry.section, &entry.line})
            expandEntryText(*text);
    for (TextFileEntry& entry : gPackageToc.textFileEntries)
        for (ByteString* text : {&entry.file, &entry.searchText, &entry.lineText})
            expandEntryText(*text);
}
