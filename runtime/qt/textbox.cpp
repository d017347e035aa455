#include "textbox.h"
#include "colours.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace runtime::qt {

static const QString CrLf = QStringLiteral("\r\n");

TextBox::TextBox(const ControlRow &row, QWidget *parent)
    : BorderedControl(row.settings.border, parent)
{
    const Settings &settings = row.settings;
    QWidget *editor;
    if (settings.multiLine) {
        m_multi = new QPlainTextEdit(this);
        m_multi->setFrameShape(QFrame::NoFrame);
        m_multi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_multi->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        m_multi->setTabChangesFocus(true);
        m_multi->setReadOnly(settings.readOnly);
        m_multi->document()->setDocumentMargin(1);
        editor = m_multi;
    } else {
        m_line = new QLineEdit(this);
        m_line->setFrame(false);
        // The border already spaces the text from the edge; Qt's own inner
        // margin would push short captions like "CPU Status:" out of view.
        m_line->setTextMargins(-2, 0, -2, 0);
        m_line->setReadOnly(settings.readOnly);
        const Qt::Alignment h = settings.align == Align::Center ? Qt::AlignHCenter
                : settings.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
        m_line->setAlignment(h | Qt::AlignVCenter);
        editor = m_line;
    }
    applyColours(editor, backOf(row), foreOf(row), QPalette::Base, QPalette::Text);
    setFocusProxy(editor);
    setClient(editor);
    if (settings.text)
        setText(QString::fromUtf8(settings.text));
}

void TextBox::apply(Property, const Value &value)
{
    m_applying = true;
    setText(QString::fromStdString(std::get<std::string>(value)));
    m_applying = false;
}

void TextBox::onUserChange(std::function<void(Property, Value)> tell)
{
    const auto typed = [this, tell] {
        if (!m_applying)
            tell(Property::Text, text().toStdString());
    };
    if (m_line)
        connect(m_line, &QLineEdit::textChanged, this, typed);
    else
        connect(m_multi, &QPlainTextEdit::textChanged, this, typed);
}

// The editor keeps paragraphs, one LF between them: the core gives the
// program CR LF.
QString TextBox::text() const
{
    return m_line ? m_line->text() : m_multi->toPlainText();
}

void TextBox::setText(const QString &text)
{
    if (m_line) {
        m_line->setText(text);
        m_line->setCursorPosition(0);  // show the text from its start
        return;
    }
    QString plain = text;
    plain.replace(CrLf, QStringLiteral("\n"));
    m_multi->setPlainText(plain);
}

} // namespace runtime::qt
