#pragma once
// Members of the package as the builder writes them: the content of a description member,
// compressed into a gzip member (zlib's deflate with its gzip wrapper) or a one-entry PKZIP
// archive, or kept raw, and optionally broken on purpose.
//
// A member description is an object:
//   content, one of: "text": text | "hex": "0a1b..." | "file": path (read whole);
//   "storage": "gzip" (default for compressed members) | "zip" (deflated entry) | "zipStored" |
//       "raw";
//   "gzipHeader": { "name": text, "comment": text, "extra": hex, "headerCrc": bool } (gzip only);
//   "corrupt": "crc" (the stored CRC-32 is wrong) | "length" (the stored length is wrong) |
//       "header" (the first byte is wrong) | "truncate" (only "keep" bytes are stored);
//   "keep": n, for "truncate";
//   "rawBytes": hex, stored in place of all of the above.
#include "PackageBuilder.h"

#include <string>

// The content before it is stored.
Bytes memberContent(const nlohmann::json& member);
// The stored bytes; defaultStorage applies when the member names none.
Bytes storedMember(const nlohmann::json& member, const std::string& defaultStorage);

Bytes gzipBytes(const Bytes& content, const nlohmann::json& gzipHeader = nlohmann::json::object());
Bytes zipArchive(const Bytes& content, bool deflated, const std::string& entryName = "member");
Bytes bytesFromHex(const std::string& hex);
