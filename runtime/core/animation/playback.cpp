#include "animation/playback.h"

#include <algorithm>

namespace runtime {

void Playback::restart()
{
    *this = Playback();
    m_loading = true;
}

bool Playback::take(Animation animation, bool whole, std::int64_t now)
{
    const bool first = m_animation.isEmpty();
    m_animation = std::move(animation);
    m_loading = !whole;
    if (first && !m_animation.isEmpty()) {
        m_index = 0;
        shownAt(now);
        return true;
    }
    return m_waiting && advance(now);
}

bool Playback::advance(std::int64_t now)
{
    m_waiting = false;
    int next = m_index + 1;
    if (next == int(m_animation.frames.size())) {
        if (m_loading) {
            m_waiting = true;  // shown as soon as it is decoded
            return false;
        }
        ++m_played;
        if (m_animation.plays != 0 && m_played >= m_animation.plays)
            return false;  // the last frame stays
        next = 0;
    }
    m_index = next;
    shownAt(now);
    return true;
}

// The frame just shown was due when the last one's time was up. What it
// came late is taken off its own delay, but never more than a quarter of
// that delay: every frame stays at least three quarters of its time, none
// is skipped, and lateness past the bound (a view hidden a while, a frame
// still being decoded, a machine stalled) is forgiven rather than made up
// by a burst of short frames. A timer that fired early (coarse timers may,
// by a few percent) makes the next frame wait the longer, as bounded.
void Playback::shownAt(std::int64_t now)
{
    const int delay = m_animation.delaysMs[size_t(m_index)];
    m_late = m_over < 0 ? 0 : int(std::clamp<std::int64_t>(now - m_over, -delay / 4, delay / 4));
    m_over = now - m_late + delay;
}

Frame Playback::frame() const
{
    return m_animation.isEmpty() ? Frame() : m_animation.frames[size_t(m_index)];
}

int Playback::delayMs() const
{
    if (m_animation.isEmpty() || (m_animation.frames.size() == 1 && !m_loading))
        return 0;
    return m_animation.delaysMs[size_t(m_index)] - m_late;
}

} // namespace runtime
