// What a view of an animation shows and when, the same on every platform:
// the frame in front, how long it stays, and where playing goes when that
// time is up. Frames may arrive in two steps (the first as soon as it is
// decoded, then all of them); a delay that runs out before the next frame
// is there waits for it. The platform's view owns the timer, the painting
// and the rule that nothing advances while it is hidden.
#pragma once

#include "animation/framedecoder.h"

namespace runtime {

class Playback
{
public:
    // A new file: nothing to show until frames arrive.
    void restart();
    // Frames decoded so far, or (whole) all there will be; true when the
    // frame to show has changed.
    bool take(Animation animation, bool whole);
    // The shown frame's time is up; true when another is to be shown.
    bool advance();

    Frame frame() const;
    int delayMs() const;  // how long the frame stays; 0: for good
    bool loading() const { return m_loading; }
    const Animation &animation() const { return m_animation; }

private:
    Animation m_animation;
    int m_index = 0;
    int m_played = 0;        // times through the frames so far
    bool m_loading = false;  // until every frame is decoded, or none can be
    bool m_waiting = false;  // time ran out before the next frame was decoded
};

} // namespace runtime
