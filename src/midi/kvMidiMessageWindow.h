#pragma once
// The player's hidden window: the timer posts its ticks to it from the timer's own thread, and
// the window hands them to its method on the thread that owns it (the interface thread).
#include <cstdint>
#include <functional>

namespace kv {

// The message the periodic timer posts for each tick (WM_USER + 127).
constexpr std::uint32_t WM_MIDITIMER = 0x047F;

// Receives the messages meant for the window's owner; other messages never reach it.
using TKVWndMethod = std::function<void(std::uint32_t Msg, std::uintptr_t WParam, std::intptr_t LParam)>;

class TKVMessageWindow {
public:
    TKVMessageWindow() = default;
    TKVMessageWindow(const TKVMessageWindow&) = delete;
    TKVMessageWindow& operator=(const TKVMessageWindow&) = delete;
    // Messages still queued for a destroyed window are dropped.
    virtual ~TKVMessageWindow() = default;
    // The value the timer is given so that it can post to this window.
    virtual std::uintptr_t Handle() const = 0;
};

} // namespace kv
