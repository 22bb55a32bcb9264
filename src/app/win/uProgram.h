#pragma once
// Where the running program lies, and the shell seam through which it opens files (the help
// file, the maker's web address). Tests replace the seam: under Wine the shell would start a
// host program.
#include <functional>
#include <string>

namespace kv {

// The full path of the running program's file (UTF-8).
std::string ProgramPath();
// Its folder, with the trailing separator.
std::string ProgramFolder();

// Asks the shell to open File (a path or an address) with Folder as the working directory
// ("" for none), shown normally; the shell's answer is not examined.
using TShellOpen = std::function<void(const std::string& File, const std::string& Folder)>;
TShellOpen& ShellOpen();

// The version text "%d.%d.%d.%d" of the program file's version resource; "" for a file without one.
std::string GetFileVersionString();
std::string GetFileVersionString(const std::string& FileName);

} // namespace kv

namespace kv {

// Whether a file (not a folder) of that name exists.
bool FileExists(const std::string& Name);
// The program's command-line argument of that index (1 is the first); "" when there is none.
std::string ParamStr(int Index);

} // namespace kv
