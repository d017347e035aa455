// The browser view: shows a GIF picture file, animated or still, and
// nothing else. navigate() returns at once; the file is read and decoded
// once, on a worker thread of its own (see FrameDecoder for the bounds),
// into the frames the view can show, and the result is posted back to the
// window. The view paints them at (16, 24) within itself, on black, one
// after the other. While the view is not visible no frame is advanced;
// showing it resumes where it stopped, without opening the file again.
// Whatever the file, nothing is ever reported: what cannot be shown leaves
// the view black.
#pragma once

#include "framedecoder.h"
#include "win32control.h"

#include <memory>

namespace runtime {

class BrowserView : public Win32Control
{
public:
    static constexpr POINT PictureOrigin{16, 24};

    BrowserView(const ControlRow &row, const Place &place);
    ~BrowserView() override;

    HWND window() const override { return m_window; }
    Status write(Property property, const Value &value) override;

    struct Mailbox;  // where a worker leaves its result

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void navigate(const std::string &path);
    void decoded(int generation);
    void showFrame(int index);
    void advance();
    RECT frameRect(const Frame &frame) const;
    void paint(HDC dc, const RECT &dirty) const;

    HWND m_window = nullptr;
    int m_scale;
    SIZE m_size;  // layout pixels
    std::shared_ptr<Mailbox> m_mailbox;
    Animation m_animation;
    Frame m_frame;
    int m_generation = 0;
    int m_index = 0;
    int m_played = 0;     // times through the frames so far
    bool m_due = false;   // the delay ran out while the view was hidden
};

} // namespace runtime
