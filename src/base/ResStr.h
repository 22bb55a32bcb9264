#pragma once
// Run-time texts: every text that code gives the user at run time (the program's own, and the run
// time's error messages such as "Unable to write to %s") is loaded through ResStr, so that the
// program's translation reaches all of them. Until a loader is set, a text comes back unchanged.
#include <functional>
#include <string>

namespace kv {

using TResStringLoader = std::function<std::string(const std::string& Text)>;

// Set once at start, before other threads run.
void SetResStringLoader(TResStringLoader Loader);
std::string ResStr(const std::string& Text);

} // namespace kv
