// A text box: a one-line or multi-line editor inside a flat or sunken
// border. The program's text is CR LF between lines; what the user types
// goes back to the form in that form too.
#pragma once

#include "borderedcontrol.h"
#include "qtcontrol.h"

class QLineEdit;
class QPlainTextEdit;

namespace runtime::qt {

class TextBox : public BorderedControl, public QtControl
{
public:
    TextBox(const ControlRow &row, QWidget *parent);

    QWidget *widget() override { return this; }
    void apply(Property property, const Value &value) override;
    void onUserChange(std::function<void(Property, Value)> tell) override;

    QString text() const;
    void setText(const QString &text);

private:
    QLineEdit *m_line = nullptr;
    QPlainTextEdit *m_multi = nullptr;
    bool m_applying = false;  // the editor's change is the program's, not the user's
};

} // namespace runtime::qt
