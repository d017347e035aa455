#include "animation/animationview.h"
#include "platform/diagnostics.h"
#include "animation/filereader.h"
#include "description/layout.h"
#include "animation/workerlock.h"

#include <algorithm>
#include <cstring>

namespace runtime {

namespace {

// The squares in which two frames of one size are compared: small enough
// that a bar of a few pixels costs little more than itself, large enough
// that a frame that changes all over is a few dozen rectangles.
constexpr int Tile = 8;

// The tiles where a and b differ, joined along each band of tiles and then
// down the bands where the spans match: the rectangles to paint again.
std::vector<Rect> differingTiles(const Image &a, const Image &b)
{
    std::vector<Rect> rects;
    size_t above = 0;  // the first rectangle that may still grow down
    for (int y0 = 0; y0 < a.height; y0 += Tile) {
        const int rows = std::min(Tile, a.height - y0);
        const size_t band = rects.size();
        for (int x0 = 0; x0 < a.width; x0 += Tile) {
            const int cols = std::min(Tile, a.width - x0);
            bool differs = false;
            for (int y = y0; y < y0 + rows && !differs; ++y) {
                const size_t at = size_t(y) * size_t(a.width) + size_t(x0);
                differs = std::memcmp(&a.pixels[at], &b.pixels[at], size_t(cols) * 4) != 0;
            }
            if (!differs)
                continue;
            if (rects.size() > band && rects.back().x + rects.back().width == x0)
                rects.back().width += cols;
            else
                rects.push_back({x0, y0, cols, rows});
        }
        // A span with one of the same columns in the band above extends it.
        size_t kept = band;
        for (size_t i = band; i < rects.size(); ++i) {
            auto up = std::find_if(rects.begin() + std::ptrdiff_t(above), rects.begin() + std::ptrdiff_t(band),
                                   [&](const Rect &r) { return r.x == rects[i].x && r.width == rects[i].width; });
            if (up != rects.begin() + std::ptrdiff_t(band))
                up->height += rows;
            else
                rects[kept++] = rects[i];
        }
        rects.resize(kept);
        // Only rectangles that reach this band's bottom can grow further.
        above = size_t(std::partition(rects.begin() + std::ptrdiff_t(above), rects.end(),
                                      [&](const Rect &r) { return r.y + r.height < y0 + rows; }) - rects.begin());
    }
    return rects;
}

} // namespace

// What the workers hold of the view: a worker that finishes after the view
// is gone finds no host and drops its result.
struct AnimationView::Link
{
    WorkerLock lock;
    Host *host = nullptr;
};

AnimationView::AnimationView(const ControlRow &row, Host &host)
    : m_host(host),
      m_place(placeOf(row)),
      m_link(std::make_shared<Link>()),
      m_jobs(std::make_shared<JobQueue>()),
      m_stop(std::make_shared<std::atomic<bool>>(false))
{
    m_link->host = &host;
}

AnimationView::~AnimationView()
{
    close();
}

void AnimationView::close()
{
    m_jobs->close();
    std::lock_guard<WorkerLock> hold(m_link->lock);
    m_link->host = nullptr;
    *m_stop = true;
}

void AnimationView::toWorker(JobQueue::Job job)
{
    if (m_jobs->add(std::move(job)))
        m_host.jobsWaiting(m_jobs);
}

Rect AnimationView::frameRect() const
{
    return m_frame ? Rect{OriginX, OriginY, m_frame->width, m_frame->height} : Rect();
}

// The part of the view its container lets through, less a margin. Asked
// when painted: a hidden container's client area may be sized only when
// first shown.
Rect AnimationView::noteRect() const
{
    const Rect seen = m_host.containerArea().intersected(m_place);
    return {seen.x - m_place.x + NoteMargin, seen.y - m_place.y + NoteMargin, seen.width - 2 * NoteMargin,
            seen.height - 2 * NoteMargin};
}

void AnimationView::navigate(const std::string &path)
{
    ++m_generation;
    m_address = path;
    m_bytes.reset();
    m_playback.restart();
    m_frame.reset();
    m_note.clear();
    m_changes.clear();
    m_frames = 0;
    m_due = false;
    m_host.stopDelay();
    m_host.invalidate({0, 0, m_place.width, m_place.height});
    // The part of the picture that can ever be seen: what of it lies inside
    // the view, right of and below the picture's origin, in the picture's
    // own coordinates.
    m_crop = Rect{0, 0, std::max(0, m_place.width - OriginX), std::max(0, m_place.height - OriginY)};
    {
        // An earlier file still being read or decoded is no longer wanted:
        // the slice at work gives up, and no other is begun.
        std::lock_guard<WorkerLock> hold(m_link->lock);
        *m_stop = true;
        m_stop = std::make_shared<std::atomic<bool>>(false);
    }
    m_jobs->clear();
    const int generation = m_generation;
    toWorker([this, link = m_link, stop = m_stop, path, generation] {
        FileProblem problem;
        auto read = readRegularFile(path, FrameDecoder::MaxFileBytes, stop.get(), problem);
        if (stop->load())
            return false;
        std::shared_ptr<const std::vector<unsigned char>> bytes;
        if (read)
            bytes = std::make_shared<const std::vector<unsigned char>>(std::move(*read));
        std::lock_guard<WorkerLock> hold(link->lock);
        if (link->host)
            link->host->onUiThread([this, generation, bytes, problem] { onRead(generation, bytes, problem); });
        return false;
    });
}

void AnimationView::onRead(int generation, std::shared_ptr<const std::vector<unsigned char>> bytes, FileProblem problem)
{
    if (generation != m_generation)
        return;
    if (!bytes) {
        tell(describe(problem), true);
        m_playback.take(Animation(), true);
        return;
    }
    m_bytes = std::move(bytes);
    decodeWhenSeen();
}

// Nothing is decoded for a view no one sees: the window's first paint does
// not wait for a picture most users never open.
void AnimationView::decodeWhenSeen()
{
    if (!m_bytes || !m_host.visibleNow())
        return;
    // The decoder and whether the first frame has gone out, kept from one
    // slice to the next.
    struct Decoding
    {
        std::shared_ptr<const std::vector<unsigned char>> bytes;
        FrameDecoder decoder;
        bool firstSent = false;
        Decoding(std::shared_ptr<const std::vector<unsigned char>> b, Rect crop, const std::atomic<bool> *stop)
            : bytes(std::move(b)), decoder(bytes->data(), bytes->size(), crop, stop)
        {
        }
    };
    auto decoding = std::make_shared<Decoding>(std::move(m_bytes), m_crop, m_stop.get());
    toWorker([this, link = m_link, stop = m_stop, decoding, generation = m_generation] {
        FrameDecoder &decoder = decoding->decoder;
        // The first frame goes out as soon as it is decoded, the whole
        // animation once the rest are.
        auto deliver = [&](bool whole) {
            auto animation = std::make_shared<Animation>(decoder.animation());
            std::lock_guard<WorkerLock> hold(link->lock);
            if (link->host && !stop->load())
                link->host->onUiThread([this, generation, animation, whole] { onDecoded(generation, animation, whole); });
        };
        const bool more = decoder.advance(SliceWork);
        if (!decoding->firstSent && !decoder.animation().isEmpty()) {
            decoding->firstSent = true;
            deliver(false);
        }
        if (!more)
            deliver(true);
        return more;
    });
    m_bytes.reset();
}

void AnimationView::onDecoded(int generation, std::shared_ptr<Animation> animation, bool whole)
{
    if (generation != m_generation)
        return;
    if (m_playback.take(std::move(*animation), whole))
        showFrame();
    if (!whole)
        return;
    tell(describe(m_playback.animation()), m_playback.animation().isEmpty());
}

void AnimationView::tell(const std::string &why, bool nothingShown)
{
    if (why.empty())
        return;
    printError(m_address + ": " + why);
    if (!nothingShown)
        return;
    // The file's name alone: a whole path would crowd the few lines there are.
    const size_t slash = m_address.find_last_of("/\\");
    m_note = (slash == std::string::npos ? m_address : m_address.substr(slash + 1)) + ": " + why;
    m_host.invalidate({0, 0, m_place.width, m_place.height});
}

void AnimationView::showFrame()
{
    const Frame next = m_playback.frame();
    // A frame that looks as the last did shares its image: no repaint.
    if (next != m_frame) {
        if (m_frame && next && m_frame->width == next->width && m_frame->height == next->height) {
            for (const Rect &r : changed(m_frame, next))
                m_host.invalidate({OriginX + r.x, OriginY + r.y, r.width, r.height});
        } else {
            if (m_frame)
                m_host.invalidate(frameRect());
            m_host.invalidate(next ? Rect{OriginX, OriginY, next->width, next->height} : Rect());
        }
        m_frame = next;
    }
    ++m_frames;
    if (const int delay = m_playback.delayMs())
        m_host.startDelay(delay);
}

const std::vector<Rect> &AnimationView::changed(const Frame &from, const Frame &to)
{
    for (const Change &c : m_changes)
        if (c.from == from && c.to == to)
            return c.tiles;
    if (m_changes.size() == MaxChanges)
        m_changes.clear();
    m_changes.push_back({from, to, differingTiles(*from, *to)});
    return m_changes.back().tiles;
}

void AnimationView::delayOver()
{
    // While hidden, a delay that runs out only marks the next frame due.
    if (m_host.visibleNow())
        advance();
    else
        m_due = true;
}

void AnimationView::shown()
{
    decodeWhenSeen();
    if (m_due && m_host.visibleNow())
        advance();
}

void AnimationView::advance()
{
    m_due = false;
    if (m_playback.advance())
        showFrame();
}

} // namespace runtime
