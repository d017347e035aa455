// A text box: a one-line or multi-line editor inside a flat or sunken
// border. Its text reads back exactly as written, CR LF line ends included.
#pragma once

#include "borderedcontrol.h"

class QLineEdit;
class QPlainTextEdit;

namespace runtime {

class TextBox : public BorderedControl
{
public:
    TextBox(const Settings &settings, QWidget *parent);

    QString text() const;
    void setText(const QString &text);
    QWidget *editor() const { return client(); }

private:
    QLineEdit *m_line = nullptr;
    QPlainTextEdit *m_multi = nullptr;
};

} // namespace runtime
