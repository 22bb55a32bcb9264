#pragma once
// Dialog templates written from a readable page description, so that tests state pages rather
// than bytes. The template is the binary "RTT" record: big-endian 32-bit integers, 16-bit font
// size and style, strings as a 32-bit length and their UTF-8 bytes.
//
// Page description (every member optional; numbers are signed or unsigned 32-bit or booleans):
//   "version" (default 5), "bindings": [ { "variable": "<Name>", "control": id } ] (version 3
//   and later), "style" (default 0x10C80000), "extendedStyle", "options", "pageId",
//   "alignment" (default 4), "x", "y", "width" (default 400), "height" (default 300),
//   "fontSize" (default 8), "fontStyle", "font" (default "MS Sans Serif"), "title",
//   "controls": [ {
//     "type": a number or one of static, button, checkbox, radio, edit, richedit, listbox,
//             combobox, groupbox, listview, treeview, progressbar, ipaddress,
//     "subType", "style" (default WS_CHILD | WS_VISIBLE), "extendedStyle",
//     "flag": true sets the template's own bit 31 of the extended style (bold static, required
//             input), "id", "x", "y", "width", "height", "textColour", "backColour",
//     "action" (version 5 and later), "unused" (version 1 only), "text",
//     "image" (default -2, none) } ].
#include "PackageBuilder.h"

Bytes templateFromDescription(const nlohmann::json& page);
