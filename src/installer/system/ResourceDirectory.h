#pragma once
// The package directory and the resource directory of a run.
#include <cstdint>
#include <functional>
#include <string>

// The module path up to its last backslash (without it); the whole path when it has none.
std::string packageDirectoryOf(const std::string& modulePath);
// The parent of the installer's folder: the path cut at its last backslash twice; unchanged
// when a backslash is missing.
std::string parentOfProgramFolder(const std::string& modulePath);
// tempPath with a trailing backslash followed by "inst" and the first number, counting up from
// the tick count masked to 31 bits, for which nothing of that name exists.
std::string freeResourceDirectory(std::string tempPath, std::uint32_t tickCount,
                                  const std::function<bool(const std::string&)>& exists);
