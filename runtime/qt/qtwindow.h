// A form's window on Qt: the top-level widget and a control for each row
// of the description, in their containers, stacked, in tab order, with the
// events of bound handlers passed to the form.
#pragma once

#include "platform/backend.h"
#include "form/form.h"
#include "description/description.h"

#include <vector>

class QWidget;

namespace runtime::qt {

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

private:
    void build(Form &form);
    void stack(const FormDescription &description);
    void order(const FormDescription &description);

    const FormDescription &m_description;
    QWidget *m_window = nullptr;
    std::vector<QtControl *> m_controls;  // by row; owned by their widgets' parents
    QWidget *m_firstFocus = nullptr;
    bool m_focusPlaced = false;
};

} // namespace runtime::qt
