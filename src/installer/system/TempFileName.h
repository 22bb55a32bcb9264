#pragma once
// Names for temporary files: temporary folder + "dxw" + a number + extension, the number
// starting at the tick count and counting up past names that exist. The file is not created.
#include <cstdint>
#include <functional>
#include <string>

constexpr std::size_t kPathBufferSize = 260;

std::string tempFileCandidate(const std::string& folderWithBackslash, std::int32_t n, const char* extension);
std::string firstFreeTempFileName(std::string folder, std::uint32_t tickCount, const char* extension,
                                  const std::function<bool(const std::string&)>& exists);
// Fills the 260-byte buffer with a free name in the system's temporary folder; returns buffer.
char* makeTempFileName(char* buffer, const char* extension);
