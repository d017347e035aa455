// A form's window on the page: an element holding one element per
// control, absolutely placed in its client area in the rows' stacking
// order. A framed window has a title bar with the caption, the icon and a
// close button, and is a dialog to assistive technology. Only changes
// reach the page.
#pragma once

#include "platform/backend.h"
#include "description/geometry.h"

#include <map>
#include <memory>
#include <vector>

namespace runtime {
class Form;
}

namespace runtime::web {

class BrowserView;

class WebWindow : public Window
{
public:
    explicit WebWindow(Form &form);
    ~WebWindow() override;

    static WebWindow *byId(int id);
    Form &form() const { return m_form; }
    int id() const { return m_id; }

    void show() override;
    void hide() override;
    void apply(int row, Property property, const Value &value) override;
    void runTimer(int row, int ms) override;
    void focus(int row, bool ring) override;

    // Whether the row is on the page now: the window shown, and the row
    // and every box that holds it visible.
    bool seen(int row) const;
    // The client area of the row's container, at (0, 0).
    Rect containerArea(int row) const;

private:
    void build();
    bool visible(int row) const;
    void place(int row);
    void tell(int row);
    void viewsMayBeSeen();

    Form &m_form;
    int m_id;
    bool m_shown = false;
    bool m_focusPlaced = false;
    std::vector<int> m_container;  // by row: its container's row, or -1
    std::map<int, std::unique_ptr<BrowserView>> m_views;
};

} // namespace runtime::web
