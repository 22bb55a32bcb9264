#pragma once
// The MIDI trace's lines, without the window: appended one at a time unless paused, and emptied
// before the line that would pass the limit, so that the log never grows without bound.
#include <cstddef>
#include <string>
#include <vector>

namespace kv {

constexpr std::size_t TraceLineLimit = 32767;

class TKVTraceLog {
public:
    // Whether Text was taken; false while paused. Emptied first when the limit is reached.
    bool Append(const std::string& Text);
    void Clear() { FLines.clear(); }
    bool Paused() const { return FPaused; }
    void TogglePause() { FPaused = !FPaused; }
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::vector<std::string> FLines;
    bool FPaused = false;
};

} // namespace kv
