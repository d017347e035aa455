// A text box: a one-line or multi-line editor inside a flat or sunken
// border. Its text reads back exactly as written, CR LF line ends included.
#pragma once

#include "borderedcontrol.h"
#include "qtcontrol.h"

class QLineEdit;
class QPlainTextEdit;

namespace runtime {

class TextBox : public BorderedControl, public QtControl
{
public:
    TextBox(const ControlRow &row, QWidget *parent);

    QWidget *widget() override { return this; }
    Status read(Property property, Value &value) const override;
    Status write(Property property, const Value &value) override;

    QString text() const;
    void setText(const QString &text);
    QWidget *editor() const { return client(); }

private:
    QLineEdit *m_line = nullptr;
    QPlainTextEdit *m_multi = nullptr;
    // The text as the program reads it, kept as the editor changes: a
    // timer reads it many times a second.
    std::string m_text;
};

} // namespace runtime
