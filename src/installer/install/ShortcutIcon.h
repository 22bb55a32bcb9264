#pragma once
// A shortcut's icon text: the icon file, a comma and the icon's index in that file.
#include <string>

struct ShortcutIcon {
    std::string file;
    int index = 0;
};

// The index is the whole (optionally negative) number after the last comma, 0 when none is
// there; without a comma the whole text is the file.
ShortcutIcon parseShortcutIcon(const std::string& text);
