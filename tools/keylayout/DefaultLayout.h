#pragma once
#include <string>

namespace kv {

// Writes the built-in computer-key layout to FileName the way the layout editor's Save writes
// the table: through the on-screen piano's SaveToFile. Raises the file stream's errors.
void WriteDefaultLayout(const std::string& FileName);

} // namespace kv
