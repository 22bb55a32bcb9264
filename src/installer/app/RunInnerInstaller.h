#pragma once
// Extractor mode: after the run unpacked the package, the inner installer it carries is run and
// what was unpacked is removed again.

// True when the inner installer succeeded (exit code not 0, or 0 when "/REVERT" is passed on).
bool runInnerInstaller();

extern const char* const kInnerInstallerNotStarted;
