// What a view of an animation shows and when, the same on every platform:
// the frame in front, how long it stays, and where playing goes when that
// time is up. Frames may arrive in two steps (the first as soon as it is
// decoded, then all of them); a delay that runs out before the next frame
// is there waits for it. The platform's view owns the timer, the painting
// and the rule that nothing advances while it is hidden.
//
// Each frame's time is counted from when it was due, not from when the
// timer that brought it fired: a timer late on a loaded machine is made up
// in the next delay (within a bound), so the lateness does not add up and
// the animation keeps the file's pace.
#pragma once

#include "animation/framedecoder.h"

#include <cstdint>

namespace runtime {

class Playback
{
public:
    // A new file: nothing to show until frames arrive.
    void restart();
    // Frames decoded so far, or (whole) all there will be; true when the
    // frame to show has changed. now: milliseconds on a steady clock.
    bool take(Animation animation, bool whole, std::int64_t now);
    // The shown frame's time is up; true when another is to be shown.
    bool advance(std::int64_t now);

    Frame frame() const;
    // How long the frame stays from when it was shown; 0: for good.
    int delayMs() const;
    bool loading() const { return m_loading; }
    const Animation &animation() const { return m_animation; }

private:
    void shownAt(std::int64_t now);

    Animation m_animation;
    int m_index = 0;
    int m_played = 0;        // times through the frames so far
    bool m_loading = false;  // until every frame is decoded, or none can be
    bool m_waiting = false;  // time ran out before the next frame was decoded
    std::int64_t m_over = -1;  // when the shown frame's time is up; -1: none shown yet
    int m_late = 0;          // how late it came, taken off its delay (less than 0: early)
};

} // namespace runtime
