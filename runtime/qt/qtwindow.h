// A form's window on Qt: the top-level widget and a control for each row
// of the description, in their containers, stacked, in tab order, with the
// events of bound handlers passed to the form. The keys that move the
// focus or press a zone go to the core's door, which tells the window
// where the focus is and whether its ring shows.
#pragma once

#include "platform/backend.h"
#include "form/form.h"
#include "description/description.h"

#include <vector>

class QWidget;

namespace runtime::qt {

class FocusRing;
class QtControl;

class QtWindow : public Window
{
public:
    explicit QtWindow(Form &form);
    ~QtWindow() override;

    QWidget *widget() const { return m_window; }
    QWidget *control(int row) const;

    void show() override;
    void hide() override;
    void apply(int row, Property property, const Value &value) override;
    void runTimer(int row, int ms) override;
    void focus(int row, bool ring) override;

private:
    void build(Form &form);
    void stack(const FormDescription &description);
    void order();

    Form &m_form;
    const FormDescription &m_description;
    QWidget *m_window = nullptr;
    FocusRing *m_ring = nullptr;
    std::vector<QtControl *> m_controls;  // by row; owned by their widgets' parents
};

} // namespace runtime::qt
