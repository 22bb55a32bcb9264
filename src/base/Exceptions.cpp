#include "base/Exceptions.h"

#include <string_view>

namespace kv {

[[noreturn]] void AssertionFailed(const std::string& message, const char* file, int line)
{
    // The file name without its folder; both separators, since __FILE__ may come from either system.
    std::string_view name = file ? file : "";
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    throw EAssertionFailed(message + " (" + std::string(name) + ", line " + std::to_string(line) + ")");
}

} // namespace kv
