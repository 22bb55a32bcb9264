#pragma once
// Whether a packaged file replaces an existing one. The overwrite mode (0-15) comes from the
// file's record, or from the package's default when the record compares versions and gives 0.
#include <cstdint>

enum class OverwriteAction {
    Replace,
    Keep,
    // Questions whose Yes keeps the existing file and No replaces it.
    AskPlain,
    AskExistingNewer,
    AskLanguage,
    AskVersion,
};

struct OverwriteFacts {
    std::uint32_t recordMode = 0;
    std::int32_t defaultMode = 0;
    bool versionCheck = false;
    // The existing file's last-write time against the record's.
    bool existingOlder = false;
    bool existingNewer = false;
    // Version comparison: -1 the existing file is older, 0 equal, 1 newer.
    int versionOrder = 0;
    // The existing file names a language and it is not the packaged file's.
    bool otherLanguage = false;
};

OverwriteAction overwriteAction(const OverwriteFacts& facts);
