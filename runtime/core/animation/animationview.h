// What a view of an animated picture file does, the same on every platform
// (the browser view is one): navigate() returns at once; the file is read
// once, on a worker thread, and decoded there once, in slices (see
// FrameDecoder for the bounds) when the view is first seen: the first frame
// is shown as soon as it is decoded, and the rest follow while it shows.
// Frames are painted at (16, 24) within the view, on black; when one frame
// follows another, only the tiles where the two differ are painted again
// (the shipped voice box changes a few bars a frame, a tenth of its
// pixels), found once for each pair of frames. While the view
// is not visible nothing is decoded and no frame is advanced; showing it
// resumes where it stopped, without opening the file again.
//
// What cannot be shown whole is said once on the error stream. When nothing
// of it can be shown, the view says so itself too, in a short note inside
// the part of it that its container lets through: a program started from
// a desktop has no error stream anyone sees, and a dialog over the window
// would be worse than a quiet note.
//
// The platform's view is the Host: it lends a thread to the view's jobs
// (JobQueue), brings results back, times, paints and says whether it is
// seen; this class decides.
#pragma once

#include "description/description.h"
#include "animation/framedecoder.h"
#include "animation/jobqueue.h"
#include "description/geometry.h"
#include "animation/playback.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace runtime {

class AnimationView
{
public:
    class Host
    {
    public:
        // Jobs wait in jobs: call jobs->runSlice() on the view's worker
        // until it returns false (jobqueue.h). A host with a thread to
        // spare runs them through at once; a host with only the page's
        // thread lets other work in between. Told again only after that.
        virtual void jobsWaiting(const std::shared_ptr<JobQueue> &jobs) = 0;
        // Runs done on the UI thread soon, unless the view is gone by then.
        // Called from the worker thread.
        virtual void onUiThread(std::function<void()> done) = 0;
        // One single-shot timer: delayOver() once ms have passed.
        virtual void startDelay(int ms) = 0;
        virtual void stopDelay() = 0;
        // To be painted again; layout pixels, the view's own coordinates.
        virtual void invalidate(const Rect &area) = 0;
        virtual bool visibleNow() const = 0;
        // The client area of the view's container, layout pixels, at (0, 0).
        virtual Rect containerArea() const = 0;

    protected:
        ~Host() = default;
    };

    static constexpr int OriginX = 16, OriginY = 24;  // where frames are painted
    static constexpr int NoteMargin = 4;
    static constexpr Colour NoteColour = rgb(0xC0C0C0);  // light grey, on the black
    // The decoding done in one slice (FrameDecoder's units): a few
    // milliseconds of one core, in a browser too.
    static constexpr std::int64_t SliceWork = 400'000;

    AnimationView(const ControlRow &row, Host &host);
    ~AnimationView();
    AnimationView(const AnimationView &) = delete;
    AnimationView &operator=(const AnimationView &) = delete;

    // What the platform's view tells.
    void navigate(const std::string &path);
    void shown();  // it is visible, or has painted, now
    void delayOver();
    // The view is going: work still running gives up, and nothing it
    // finds reaches the host. Also done on destruction.
    void close();

    // What it paints, over black: the frame in its rectangle, and the note
    // (empty: none) word-wrapped in its rectangle.
    const Frame &frame() const { return m_frame; }
    Rect frameRect() const;
    const std::string &note() const { return m_note; }
    Rect noteRect() const;

    const std::string &address() const { return m_address; }
    const Playback &playback() const { return m_playback; }  // loading() until decoding is over
    int framesShown() const { return m_frames; }             // since navigating

private:
    struct Link;
    void toWorker(JobQueue::Job job);
    void onRead(int generation, std::shared_ptr<const std::vector<unsigned char>> bytes, FileProblem problem);
    void decodeWhenSeen();
    void onDecoded(int generation, std::shared_ptr<Animation> animation, bool whole);
    void tell(const std::string &why, bool nothingShown);
    void showFrame();
    void advance();
    const std::vector<Rect> &changed(const Frame &from, const Frame &to);

    Host &m_host;
    Rect m_place;  // the view in its container, layout pixels
    std::shared_ptr<Link> m_link;
    std::shared_ptr<JobQueue> m_jobs;  // shared with the worker, which may outlive the view
    std::shared_ptr<std::atomic<bool>> m_stop;  // this file's work, set when another is asked for
    std::string m_address;
    std::shared_ptr<const std::vector<unsigned char>> m_bytes;  // read, not yet decoded
    Rect m_crop;
    Playback m_playback;
    Frame m_frame;  // the one painted
    std::string m_note;
    // The tiles in which one frame differs from the next, for the pairs
    // shown so far (at most MaxChanges of them: past that, found anew).
    struct Change
    {
        Frame from, to;
        std::vector<Rect> tiles;
    };
    static constexpr size_t MaxChanges = 256;
    std::vector<Change> m_changes;
    int m_generation = 0;
    int m_frames = 0;    // frames shown since navigating
    bool m_due = false;  // the delay ran out while the view was hidden
};

} // namespace runtime
