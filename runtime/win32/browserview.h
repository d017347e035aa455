// The browser view: shows a GIF picture file, animated or still, and
// nothing else. navigate() returns at once; the file is read once, on a
// worker thread of its own, and decoded once, on another, when the view is
// first painted (see FrameDecoder for the bounds): the first frame is
// posted back to the window as soon as it is decoded, and the rest follow
// while it shows. The view paints its frames at (16, 24) within itself, on
// black, one after the other. While the view is not visible nothing is
// decoded and no frame is advanced; showing it resumes where it stopped,
// without opening the file again. What cannot be shown leaves the view
// black, and one line on the error stream says why.
#pragma once

#include "framedecoder.h"
#include "playback.h"
#include "win32control.h"

#include <memory>
#include <string>
#include <vector>

namespace runtime::win32 {

class BrowserView : public Win32Control
{
public:
    static constexpr POINT PictureOrigin{16, 24};

    BrowserView(const ControlRow &row, const Place &place);
    ~BrowserView() override;

    HWND window() const override { return m_window; }
    void apply(Property property, const Value &value) override;

    struct Mailbox;  // where a worker leaves its result

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void navigate(const std::string &path);
    void read(int generation);
    void decodeWhenSeen();
    void decoded(int generation);
    void showFrame();
    void advance();
    RECT frameRect(const Frame &frame) const;
    void paint(HDC dc, const RECT &dirty) const;

    HWND m_window = nullptr;
    int m_scale;
    SIZE m_size;  // layout pixels
    std::shared_ptr<Mailbox> m_mailbox;
    std::string m_address;
    Rect m_crop;
    std::shared_ptr<const std::vector<unsigned char>> m_bytes;  // read, not yet decoded
    Playback m_playback;
    Frame m_frame;  // the one painted
    int m_generation = 0;
    bool m_due = false;  // the delay ran out while the view was hidden
};

} // namespace runtime::win32
