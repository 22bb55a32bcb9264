#pragma once
// The members the package header points to and the packed files, written between the tables and
// the header. Header fields they fill are returned in fields (offset, value).
//
// Header members (each a member description of MemberWriter.h; fields filled):
//   "dialogImage" 8/12 (gzip), "imageLibrary" 80/84/88, "musicLibrary" 92/96/100,
//   "pluginLibrary" 104/108/112 (present, offset, size; gzip), "backgroundMusic" 116/120/124
//   (raw), "pageImage" 128/132/136/140 (present, "kind" (default 1), offset, size; gzip for kind
//   1, raw otherwise), "uninstaller" 168/172 (size, offset; gzip);
//   "images": [ member + "id": n ], 32/36, per entry [id][size][member] (big-endian);
//   "fonts": [ member ], 40/44, per entry [size][member];
//   "licenseTexts", "readmeTexts": [ { "language": n, and a content of MemberWriter.h: "text",
//       "hex" or "file" } ], 48/52/56 and 60/64/68 (present, offset, number of entries); per
//       entry [language number][length][text] (big-endian), language 0 standing for any
//       language;
//   "blocks": [ member + "offsetField": n (+ "sizeField": n) ]: stored raw, their offset (and
//   size) written to the fields named (the component tree, or tables made by hand; their other
//   fields come from "header"/"fields").
//
// Packed files, "files": [ file ], 188/192/196 (count, first record, bytes up to the header):
//   a member description ("storage" also "beside": the content is the path of a file beside the
//   package; "raw" and "beside" set flag bits 0 and 1), plus
//   "name": text (stored scrambled), "condition": { "osFlags": n, "comparisons":
//   [ { "left": text, "op": n, "right": text } ] }, numbers "componentIndex", "installTypeMask"
//   (default 3), "flags" (added to the storage bits), "fileFlags", "lastWriteTime",
//   "creationTime", "versionMost", "versionLeast", "versionLanguage", "priority";
//   "split": [ n, ... ]: the member's first n bytes stay in the current volume, each next count
//   goes to a new volume file, the rest to one more; later records follow in the last volume;
//   overrides of what the builder computes: "storedSize", "nameLength", "volumeCount",
//   "endOffsets": [ n, ... ].
#include "PackageBuilder.h"

#include <utility>
#include <vector>

using HeaderFieldValues = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

void appendHeaderMembers(Bytes& out, const nlohmann::json& description, HeaderFieldValues& fields);
// Returns the volume files after the installer: "setup.002" first.
std::vector<Bytes> appendPackedFiles(Bytes& out, const nlohmann::json& description, HeaderFieldValues& fields);
