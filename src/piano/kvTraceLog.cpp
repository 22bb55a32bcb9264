#include "piano/kvTraceLog.h"

namespace kv {

bool TKVTraceLog::Append(const std::string& Text)
{
    if (FPaused) return false;
    if (FLines.size() >= TraceLineLimit) FLines.clear();
    FLines.push_back(Text);
    return true;
}

} // namespace kv
