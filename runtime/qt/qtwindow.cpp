#include "qtwindow.h"
#include "accessibility.h"
#include "colours.h"
#include "form/form.h"
#include "description/kinds.h"
#include "description/layout.h"
#include "focusring.h"
#include "description/focusorder.h"
#include "pictures.h"
#include "pixelsnapper.h"
#include "qtcontrol.h"
#include "program/application.h"
#include "description/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <map>
#include <tuple>

namespace runtime::qt {

namespace {

// The top-level widget. Closing it from its frame asks the core, which
// unloads the form as it does for any window the user closes. The keys a
// focused control leaves (all of a zone's, Tab from anywhere) come up to
// it and go to the core; those the core leaves are Qt's.
class FormWidget : public QWidget
{
public:
    FormWidget(Form &form, Qt::WindowFlags flags) : QWidget(nullptr, flags), m_form(form)
    {
        // Qt's own focus moves (a click into a field, the window active
        // again) reach the core, which follows them; not Qt's pick as the
        // window first shows, where the core names the first focus.
        m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
            for (QWidget *w = now; w && w != this && m_form.focused() >= 0; w = w->parentWidget())
                if (auto *c = dynamic_cast<QtControl *>(w); c && c->form == &m_form)
                    return m_form.door().focused(m_form, c->row);
        });
    }
    // Before its controls go: their last focus changes are no one's.
    ~FormWidget() override { disconnect(m_focusWatch); }

protected:
    // A press anywhere on the window, on a control or not: the ring goes.
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_form.door().pointed(m_form);
        return false;
    }

    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        m_form.door().close(m_form);
    }

    bool focusNextPrevChild(bool next) override
    {
        // Qt asks this too when it hides the focused widget: the core then
        // moves the focus itself, once the form holds the change.
        const QWidget *focused = QApplication::focusWidget();
        if (focused && !focused->isVisible() && m_form.focused() >= 0)
            return true;
        return keyed(next ? Key::Tab : Key::BackTab) || QWidget::focusNextPrevChild(next);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        static const std::map<int, Key> keys = {
                {Qt::Key_Left, Key::Left}, {Qt::Key_Right, Key::Right}, {Qt::Key_Up, Key::Up},
                {Qt::Key_Down, Key::Down}, {Qt::Key_Return, Key::Enter}, {Qt::Key_Enter, Key::Enter},
                {Qt::Key_Space, Key::Space}};
        const auto key = keys.find(event->key());
        if ((event->modifiers() & ~Qt::KeypadModifier) || key == keys.end() || !keyed(key->second))
            event->ignore();
    }

    // The core draws its ring only round what has no focus mark of its
    // own: once a key has moved the focus, the style marks a button that
    // has it, as it does after Qt's own Tab.
    bool keyed(Key key)
    {
        if (!m_form.door().key(m_form, key))
            return false;
        setAttribute(Qt::WA_KeyboardFocusChange);
        if (QWidget *focused = QApplication::focusWidget())
            focused->update();
        return true;
    }

private:
    Form &m_form;
    QMetaObject::Connection m_focusWatch;
};

// One QFont for each font the rows name, shared by every control that
// uses it, so that Qt resolves and caches each font once. A control
// without a font of its own inherits its window's.
void setFont(QWidget *w, const Font &font)
{
    static std::map<std::tuple<std::string, double, int>, QFont> fonts;
    if (!font.face)
        return;
    auto [it, made] = fonts.try_emplace({font.face, font.points, font.weight});
    if (made) {
        it->second = QFont(QString::fromUtf8(font.face));
        it->second.setPixelSize(fontPixels(font.points));
        it->second.setWeight(QFont::Weight(font.weight));
    }
    w->setFont(it->second);
}

} // namespace

QtWindow::QtWindow(Form &form) : m_form(form), m_description(form.description())
{
    const WindowSettings &w = form.description().window;
    Qt::WindowFlags flags = Qt::Window;
    if (w.borderless)
        flags |= Qt::FramelessWindowHint;
    if (!w.showInTaskbar)
        flags = (flags & ~Qt::Window) | Qt::Tool;  // a tool window gets no task-bar button
    m_window = new FormWidget(form, flags);
    m_window->setObjectName(QString::fromStdString(form.name()));
    m_window->setAttribute(Qt::WA_MacAlwaysShowToolWindow);
    m_window->setWindowTitle(QString::fromUtf8(w.caption));
    accessibility::install();
    if (w.accessibleName)
        m_window->setAccessibleName(QString::fromUtf8(w.accessibleName));
    if (w.icon)
        m_window->setWindowIcon(QIcon(picturePath(QString::fromUtf8(w.icon))));
    if (w.back.isSet()) {
        applyColours(m_window, backOf(w), {}, QPalette::Window, QPalette::WindowText);
        m_window->setAutoFillBackground(true);
    }
    setFont(m_window, DefaultFont);
    m_window->resize(pixels(w.clientWidth), pixels(w.clientHeight));
    if (w.start == StartPosition::CenterScreen) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int width = m_window->width(), height = m_window->height();
        const Rect at = startPlace({screen.x(), screen.y(), screen.width(), screen.height()}, width, height,
                                   {0, 0, width, height});
        m_window->move(at.x, at.y);
    }
    build(form);
    stack(form.description());
    order();
    m_ring = new FocusRing(m_window);
}

QtWindow::~QtWindow()
{
    delete m_window;
}

void QtWindow::build(Form &form)
{
    const FormDescription &d = form.description();
    m_controls.assign(d.controls.size(), nullptr);
    for (int r : buildOrder(d)) {
        const ControlRow &row = d.controls[size_t(r)];
        const int container = form.containerOf(r);
        QWidget *parent = container < 0 ? m_window : m_controls[size_t(container)]->clientArea();
        QtControl *c = makeControl(row, parent);
        m_controls[size_t(r)] = c;
        c->form = &form;
        c->row = r;
        if (QWidget *w = c->widget()) {
            if (row.kind != Kind::Line)  // a line's row holds its end points
                w->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
            // A hidden control takes its font when first shown: a text box
            // lays out its text at once, loading a font no one may ever see.
            if (!row.settings.hidden)
                setFont(w, row.settings.font);
            w->setObjectName(QString::fromUtf8(row.name));
            w->setVisible(!row.settings.hidden);
            accessibility::describe(w, form, r);
        }
        if (form.handlesAny(r))
            c->onEvent([&form, r](Event event) { form.door().event(form, r, event); });
        c->onUserChange([&form, r](Property, Value v) {
            if (std::string *text = std::get_if<std::string>(&v))
                form.door().typed(form, r, std::move(*text));
        });
    }
}

void QtWindow::stack(const FormDescription &d)
{
    // Raising from the back leaves the front-most on top.
    const std::vector<int> front = stackingOrder(d);
    for (auto it = front.rbegin(); it != front.rend(); ++it)
        m_controls[size_t(*it)]->widget()->raise();
}

// Qt's own chain, for what the core leaves to Qt, is the core's one order.
void QtWindow::order()
{
    const std::vector<int> &rows = m_form.focusOrder();
    for (size_t i = 1; i < rows.size(); ++i)
        if (control(rows[i - 1]) && control(rows[i]))
            QWidget::setTabOrder(control(rows[i - 1]), control(rows[i]));
}

void QtWindow::show()
{
    m_window->show();
    m_window->windowHandle()->installEventFilter(m_window);
    snapPixels(m_window->windowHandle());
    m_window->activateWindow();
}

void QtWindow::hide()
{
    m_window->hide();
}

QWidget *QtWindow::control(int row) const
{
    return row < 0 ? nullptr : m_controls[size_t(row)]->widget();
}

void QtWindow::apply(int row, Property property, const Value &value)
{
    QtControl *c = m_controls[size_t(row)];
    QWidget *w = c->widget();
    if (property != Property::Visible)
        c->apply(property, value);
    else if (w) {
        const bool visible = std::get<bool>(value);
        if (visible && !w->testAttribute(Qt::WA_SetFont))
            setFont(w, m_description.controls[size_t(row)].settings.font);
        w->setVisible(visible);
    }
}

void QtWindow::runTimer(int row, int ms)
{
    m_controls[size_t(row)]->runTimer(ms);
}

void QtWindow::focus(int row, bool ring)
{
    // Not Tab's reason, with which a field selects its text: what the
    // focus looks like is the ring's, and the style's (FormWidget::keyed).
    if (QWidget *w = control(row); w && !w->hasFocus())
        w->setFocus(Qt::OtherFocusReason);
    if (!ring) {
        m_ring->hide();
        return;
    }
    const int box = m_form.containerOf(row);
    m_ring->place(box < 0 ? m_window : m_controls[size_t(box)]->clientArea(), runtime::focus::ring(m_description, row));
}

} // namespace runtime::qt
