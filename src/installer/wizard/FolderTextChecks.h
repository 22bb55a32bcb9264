#pragma once
// The checks of what the user typed as the destination folder and as the program group, and
// the forms in which the two are kept.
#include "installer/text/ByteString.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

enum class DriveKind { NoRoot, Unknown, Removable, Fixed, Remote, Other };

struct DriveQueries {
    std::function<DriveKind(const ByteString& root)> kind;
    std::function<std::uint64_t(const ByteString& root)> freeBytes;
};

struct DestinationCheck {
    // The language text of the refusal; 0 when the destination may be used.
    std::size_t problem = 0;
    // The drive's root ("C:\"); the refusal for too little space is formatted with it.
    ByteString root;
    // Measured for local paths that got as far as the space check.
    std::optional<std::uint64_t> freeBytes;
};

// A path starting with two backslashes is a network path: no drive and space checks, the
// characters after the first two still are.
DestinationCheck checkDestination(const ByteString& path, std::uint64_t bytesRequired, const DriveQueries& drives);

// The language text refusing a program group (0 when it may be used): 87 for a character a
// folder name cannot hold, 86 for a doubled backslash. An empty group is accepted.
std::size_t groupProblem(const ByteString& group);

// The text without trailing NULs, blanks and backslashes.
ByteString withoutTrailingSeparators(const ByteString& text);
// The destination as it is kept: trimmed, with one backslash at the end.
ByteString keptDestination(const ByteString& path);
// The program group as it is kept: one leading backslash removed, then trimmed.
ByteString keptGroup(const ByteString& group);
