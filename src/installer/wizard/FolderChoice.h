#pragma once
// The destination folder and the program group as the pages keep them: in buffers of 260 bytes
// with their terminating NUL, so what a page makes of a browsed folder or a listed group is cut
// at that boundary.
#include "installer/text/ByteString.h"

#include <cstdint>

constexpr std::uint32_t kFolderBufferSize = 260;
// What the user may type into the destination and group edits; both fit the buffer, the
// destination with the backslash it gets when it is kept.
constexpr std::uint32_t kDestinationEditLimit = kFolderBufferSize - 2;
constexpr std::uint32_t kGroupEditLimit = 210;

// A folder chosen by browsing: a trailing backslash and, unless the package says otherwise, the
// product's file-name-safe id after it.
ByteString browsedDestination(const ByteString& folder, const ByteString& safeProductId, bool appendProductId);
// A program group picked from the list: the line, then unless the package says otherwise a
// backslash (after a non-empty line) and the product's file-name-safe id.
ByteString groupFromListLine(const ByteString& line, const ByteString& safeProductId, bool appendProductId);
