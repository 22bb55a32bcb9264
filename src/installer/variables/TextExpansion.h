#pragma once
// The three passes that replace variable names in a text, in place. Names are matched byte for
// byte; a text without "<" is left as it is. The full expansion is the folder pass, then the
// built-in pass, then the user variables; some callers use another order or a subset.
#include "installer/text/ByteString.h"

#include <cstdint>

// Every caller looks at all list entries.
constexpr std::int32_t kAllVariables = 2147483647;

// The folder values computed at start-up ("<ProgramFiles>", "<WindowsDir>", ...).
void expandFolderVariables(ByteString& text);
// The installation folder, the program group's folder, the user information, the uninstaller
// path and the resource folder.
void expandBuiltinVariables(ByteString& text);
// The user variables, in list order, looking at the first maxCount entries. An entry that is
// not known yet is evaluated the first time a text names it. Values are inserted as they are: a
// name inside an inserted value is replaced only by entries that come later in the list.
void expandVariables(ByteString& text, std::int32_t maxCount);

// The built-in names, then the user variables, in every text of the shortcut, INI and text-file
// entries, in place: the installation run does it once before it installs. The entries' own
// operations then expand the folder names.
void expandEntryTables();
