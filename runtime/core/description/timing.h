// How often the runtime delivers a timer's events, on every platform.
//
// A timer asks for an interval; the runtime delivers its events no faster
// than a user could ever see them: never more often than every
// MinTimerIntervalMs (10 ms, the floor Windows itself puts under every
// timer), and, where the platform tells its screen's refresh rate, never
// more often than once a refresh, so that each tick can change at most one
// frame on the screen. A slower interval is kept as asked. Each delivered
// tick runs the whole handler: nothing of it is skipped on a guess about
// what it does, so a handler that copies a text still copies it within
// one tick of its change.
#pragma once

#include <algorithm>
#include <cmath>

namespace runtime {

inline constexpr int MinTimerIntervalMs = 10;

// refreshHz: the screen's refresh rate, or 0 when the platform cannot tell.
inline int timerDeliveryMs(int intervalMs, double refreshHz)
{
    int ms = std::max(intervalMs, MinTimerIntervalMs);
    if (refreshHz > 0)
        ms = std::max(ms, int(std::ceil(1000.0 / refreshHz - 1e-9)));
    return ms;
}

} // namespace runtime
