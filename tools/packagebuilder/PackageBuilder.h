#pragma once
// The install-package builder: appends a package to an installer program, as described by a
// JSON description. Written from the package format alone; it shares no code with the
// installer's reader.
//
// Layout written: installer bytes, header (at offset H), then the trailer: H, a reserved block
// of S bytes, S, 0x0B1C2D3E, 0x12345678 (integers little-endian 32-bit). Header fields are
// big-endian 32-bit.
//
// Description (every member optional):
//   "header": {
//     "size": bytes of the header (default 236: up to and including field 232),
//     "fields": { "<byte offset>": value, ... },
//     "selfOffset": value written to field 232 instead of H
//   },
//   "reservedBlock": { "size": n, "lengthField": value written as S instead of n }
//       (absent: no block, S = 0xFFFFFFFF),
//   "templates": [ { "page": a page description (TemplateWriter.h) or "template": the bytes as a
//       text (characters U+0000-U+00FF, one byte each), "pageType": n, "showOnce": bool,
//       "condition": a condition object (below) or its bytes as such a text } ],
//       header fields 16 (count) and 20 (offset); per entry [n][template][page type][show-once]
//       [m][condition],
//   "imageIdentifiers": [ n, ... ], header fields 24 and 28; each value little-endian,
//   "slideshow": [ path, ... ], header fields 144 and 148; per entry [length][path],
//   "toc": the table of contents (TocWriter.h), scrambled twice; header fields 0 (offset) and 4
//       (length). Members, all optional (numbers default to 0, texts to ""):
//     "registry": { "HKEY_CLASSES_ROOT" | "HKEY_CURRENT_USER" | "HKEY_LOCAL_MACHINE" |
//         "HKEY_USERS": key }, key = { "values": [ { "name", "data", "type", "flags",
//         "condition" } ], "subkeys": [ { "name", "flags", "condition", "values", "subkeys" } ] },
//     "shortcuts": [ { "target", "shortcutFile", "arguments", "workingFolder", "icon", "condition" } ],
//     "iniEntries": [ { "file", "section", "line", "condition" } ],
//     "textFileEntries": [ { "mode", "file", "searchText", "lineText", "condition" } ],
//     "stageFileOps": [ { "type", "source", "destination", "step", "condition" } ],
//     "variables": [ { "name", "kind", "source" (default -1), "default", "textA", "textB",
//         "textC", "flags" } ],
//     "stageActions": [ { "type", "text1", "text2", "text3", "step", "runsLeft" (default -1),
//         "flags", "windowTitle", "condition" } ],
//     "prerequisites": [ { "kind", "mode", "requiredVersion", "product", "setup", "arguments",
//         "condition" } ],
//     "settings": { named settings in TocWriter.cpp's stored order; "optionSwitches": up to 27
//         booleans in stored order (option bits 0-16, then 17-20, 22-26, 28); "silent" },
//     "rawPlainHex": hexadecimal bytes stored (scrambled) instead of the generated table,
//     "scrambleCount": 0, 1 or 2 (default 2).
//   A condition is { "osFlags", "comparisons": [ { "left", "op", "right" } ], "count" (stored
//   instead of the number of comparisons) }; without one, osFlags 0 (none) is stored.
//   Numbers may be signed or unsigned 32-bit, or booleans (1 and 0).
//   "languageSets": { "default": index, "sets": [ { "name", "number", "langId", "lines": [ text ]
//       (joined by CR LF) or "table": text, "scrambleCount" (default 2), "sizeField" (stored
//       instead of the set's size) } ] }; header fields 156 (count), 160 (default), 164 (offset).
// Header members and packed files: PackageMembers.h.
// Tables are written between the installer and the header, in the order above, then the header
// members and the packed files; a field given in "header.fields" overrides what the builder
// computed.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class PackageDescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The installer followed by the package; throws PackageDescriptionError for a bad description.
Bytes buildInstallerWithPackage(const Bytes& installer, const nlohmann::json& description);

// The installer with its package, and the volume files that continue its packed files.
struct BuiltPackage {
    Bytes installer;
    // volumes[0] is volume 2 ("setup.002").
    std::vector<Bytes> volumes;
};
BuiltPackage buildPackage(const Bytes& installer, const nlohmann::json& description);
// The name of volume number beside an installer: its last three characters replaced by the
// number in three digits.
std::string volumePath(const std::string& installerPath, std::size_t number);
// Writes the installer and its volume files beside it.
void writePackageFiles(const std::string& installerPath, const BuiltPackage& built);

Bytes readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const Bytes& bytes);
