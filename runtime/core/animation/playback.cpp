#include "animation/playback.h"

namespace runtime {

void Playback::restart()
{
    *this = Playback();
    m_loading = true;
}

bool Playback::take(Animation animation, bool whole)
{
    const bool first = m_animation.isEmpty();
    m_animation = std::move(animation);
    m_loading = !whole;
    if (first && !m_animation.isEmpty()) {
        m_index = 0;
        return true;
    }
    return m_waiting && advance();
}

bool Playback::advance()
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
    return true;
}

Frame Playback::frame() const
{
    return m_animation.isEmpty() ? Frame() : m_animation.frames[size_t(m_index)];
}

int Playback::delayMs() const
{
    if (m_animation.isEmpty() || (m_animation.frames.size() == 1 && !m_loading))
        return 0;
    return m_animation.delaysMs[size_t(m_index)];
}

} // namespace runtime
