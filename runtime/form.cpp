// Builds a window from its description: the controls in their containers,
// stacked and in tab order, the handlers bound by name; then gives the
// handlers the controls' properties by name, each access with a status.
#include "form.h"
#include "accessibility.h"
#include "browserview.h"
#include "controlkinds.h"
#include "colours.h"
#include "forms.h"
#include "label.h"
#include "line.h"
#include "picturebox.h"
#include "pictures.h"
#include "textbox.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace runtime {

namespace {

// The top-level widget. Closing it from its frame unloads the form, as the
// runtime does for any window the user closes.
class FormWindow : public QWidget
{
public:
    FormWindow(const QString &name, Qt::WindowFlags flags) : QWidget(nullptr, flags), m_name(name) {}

    // On a scaled screen the pointer arrives in fractions of a pixel, and
    // Qt hands it to the control at the nearest whole pixel: at twice the
    // scale the right and lower device pixel of every pixel would click
    // the neighbour. Each position is moved to the pixel that was painted
    // where the pointer is, so a click lands on what the user sees there.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
                && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const qreal scale = static_cast<QWindow *>(watched)->devicePixelRatio();
        const QPointF at = mouse->position();
        // A position on a device pixel's corner stands for that device
        // pixel, as a mouse reports it: the pixel painted over its centre.
        // Any other position is a point, in the pixel that holds it.
        auto painted = [scale](qreal x) {
            const qreal device = x * scale;
            if (std::abs(device - std::round(device)) < 1e-6)
                return std::floor((std::round(device) + 0.5) / scale + 1e-9);
            return std::floor(x + 1e-9);
        };
        const QPointF snapped(painted(at.x()), painted(at.y()));
        if (snapped == at)
            return false;
        const QPointF shift = snapped - at;
        QMouseEvent moved(type, snapped, mouse->scenePosition() + shift, mouse->globalPosition() + shift,
                          mouse->button(), mouse->buttons(), mouse->modifiers(), mouse->pointingDevice());
        moved.setTimestamp(mouse->timestamp());
        QCoreApplication::sendEvent(watched, &moved);
        event->setAccepted(moved.isAccepted());
        return true;
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        Forms::unload(m_name);
    }

private:
    QString m_name;
};

QFont fontFor(const Font &font, const QFont &inherited)
{
    if (!font.face)
        return inherited;
    QFont f(QString::fromUtf8(font.face));
    f.setPixelSize(fontPixels(font.points));
    f.setWeight(QFont::Weight(font.weight));
    return f;
}

QString faultKey(const QString &control, Property property, Form::Access access)
{
    return QStringLiteral("%1/%2/%3").arg(control).arg(int(property)).arg(int(access));
}

} // namespace

Form::Form(const FormDescription &d)
    : m_name(QString::fromUtf8(d.window.name))
{
    const WindowSettings &w = d.window;
    Qt::WindowFlags flags = Qt::Window;
    if (w.borderless)
        flags |= Qt::FramelessWindowHint;
    if (!w.showInTaskbar)
        flags = (flags & ~Qt::Window) | Qt::Tool;  // a tool window gets no task-bar button
    m_window = new FormWindow(m_name, flags);
    m_window->setObjectName(m_name);
    m_window->setAttribute(Qt::WA_MacAlwaysShowToolWindow);
    m_window->setWindowTitle(QString::fromUtf8(w.caption));
    accessibility::install();
    if (w.accessibleName)
        m_window->setAccessibleName(QString::fromUtf8(w.accessibleName));
    if (w.icon)
        m_window->setWindowIcon(QIcon(picturePath(QString::fromUtf8(w.icon))));
    if (w.back.isSet()) {
        applyColours(m_window, w.back, {}, QPalette::Window, QPalette::WindowText);
        m_window->setAutoFillBackground(true);
    }
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(fontPixels(8.25));
    m_window->setFont(font);
    m_window->resize(pixels(w.clientWidth), pixels(w.clientHeight));
    if (w.start == StartPosition::CenterScreen) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        m_window->move(screen.x() + (screen.width() - m_window->width()) / 2,
                       screen.y() + (screen.height() - m_window->height()) / 2);
    }
    build(d);
    stack(d);
    order(d);
    bind(d);
}

Form::~Form()
{
    delete m_window;
}

void Form::build(const FormDescription &d)
{
    // Containers may be listed after what they hold: make them first.
    auto parentOf = [this](const ControlRow &row) -> QWidget * {
        if (!row.container || !*row.container)
            return m_window;
        return static_cast<PictureBox *>(m_controls.value(QString::fromUtf8(row.container)).widget)->client();
    };
    std::vector<const ControlRow *> rows;
    for (const ControlRow &row : d.controls)
        rows.push_back(&row);
    std::stable_partition(rows.begin(), rows.end(), [](const ControlRow *r) { return isContainer(r->kind); });

    for (const ControlRow *r : rows) {
        const ControlRow &row = *r;
        const Settings &s = row.settings;
        QWidget *parent = parentOf(row);
        Control c{row.kind};
        switch (row.kind) {
        case Kind::PictureBox: {
            auto *box = new PictureBox(s.border, parent);
            box->setBackColour(toQColor(s.back, ButtonFace));
            if (s.picture)
                box->setPicture(picture(QString::fromUtf8(s.picture)));
            c.widget = box;
            break;
        }
        case Kind::Label:
            c.widget = new Label(s, parent);
            break;
        case Kind::TextBox:
            c.widget = new TextBox(s, parent);
            break;
        case Kind::CommandButton: {
            auto *button = new QPushButton(QString::fromUtf8(s.caption ? s.caption : ""), parent);
            button->setAutoDefault(false);
            c.widget = button;
            break;
        }
        case Kind::Line:
            c.widget = new Line({pixels(row.left), pixels(row.top)}, {pixels(row.width), pixels(row.height)}, parent);
            if (s.fore.isSet())
                applyColours(c.widget, {}, s.fore, QPalette::Window, QPalette::WindowText);
            break;
        case Kind::Timer:
            c.timer = new QTimer(this);
            c.timer->setTimerType(Qt::PreciseTimer);
            c.timer->setInterval(s.interval);
            break;
        case Kind::BrowserView:
            c.widget = new BrowserView(parent);
            break;
        }
        if (c.widget) {
            if (row.kind != Kind::Line)
                c.widget->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height));
            c.widget->setFont(fontFor(s.font, parent->font()));
            c.widget->setObjectName(QString::fromUtf8(row.name));
            c.widget->setVisible(!s.hidden);
            accessibility::describe(c.widget, s.accessible);
        }
        m_controls.insert(QString::fromUtf8(row.name), c);
    }
}

void Form::stack(const FormDescription &d)
{
    // Front-most first: windowed controls in listed order, then labels and
    // lines in listed order. Raising from the back leaves that order.
    std::vector<const ControlRow *> front;
    for (bool windowed : {true, false})
        for (const ControlRow &row : d.controls)
            if (row.kind != Kind::Timer && isWindowed(row.kind) == windowed)
                front.push_back(&row);
    for (auto it = front.rbegin(); it != front.rend(); ++it)
        m_controls.value(QString::fromUtf8((*it)->name)).widget->raise();
}

void Form::order(const FormDescription &d)
{
    std::vector<std::pair<int, QWidget *>> focusable;
    for (const ControlRow &row : d.controls) {
        QWidget *w = m_controls.value(QString::fromUtf8(row.name)).widget;
        QWidget *takesFocus = w && w->focusProxy() ? w->focusProxy() : w;
        if (w && row.settings.tabIndex >= 0 && takesFocus->focusPolicy() != Qt::NoFocus)
            focusable.emplace_back(row.settings.tabIndex, w);
    }
    std::sort(focusable.begin(), focusable.end(), [](auto &a, auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    if (!focusable.empty())
        m_firstFocus = focusable.front().second;
}

void Form::show()
{
    m_window->show();
    m_window->windowHandle()->installEventFilter(m_window);
    m_window->activateWindow();
    // At first the focus goes to the first control in tab order that can
    // take it; later showings keep the control that last had it.
    if (m_firstFocus && !m_focusPlaced)
        m_firstFocus->setFocus(Qt::ActiveWindowFocusReason);
    m_focusPlaced = true;
}

void Form::bind(const FormDescription &d)
{
    for (const Handler &h : d.handlers) {
        const QString name = QString::fromUtf8(h.name);
        const QString object = name.left(name.lastIndexOf(QLatin1Char('_')));
        const HandlerFn fn = h.fn;
        m_handlers.insert(name, fn);
        const Control c = m_controls.value(object);
        auto run = [this, name, fn] { invoke(name, fn); };
        if (c.timer)
            connect(c.timer, &QTimer::timeout, this, run);
        else if (c.kind == Kind::Label)
            connect(static_cast<Label *>(c.widget), &Label::clicked, this, run);
        else if (c.kind == Kind::CommandButton)
            connect(static_cast<QPushButton *>(c.widget), &QPushButton::clicked, this, run);
    }
    // Timers run from the moment the window is loaded.
    for (const Control &c : std::as_const(m_controls))
        if (c.timer && c.timer->interval() > 0)
            c.timer->start();
}

bool Form::runHandler(const QString &handlerName)
{
    const HandlerFn fn = m_handlers.value(handlerName);
    if (fn)
        invoke(handlerName, fn);
    return fn;
}

void Form::invoke(const QString &handlerName, HandlerFn fn)
{
    if (Forms::hasEnded())
        return;
    try {
        fn(*this);
    } catch (const RunTimeError &error) {
        Forms::reportError(handlerName, error);
    }
}

const Form::Control *Form::find(const QString &name) const
{
    auto it = m_controls.constFind(name);
    return it == m_controls.constEnd() ? nullptr : &*it;
}

QWidget *Form::control(const QString &name) const
{
    const Control *c = find(name);
    return c ? c->widget : nullptr;
}

void Form::injectFault(const QString &control, Property property, Access access)
{
    m_faults.insert(faultKey(control, property, access));
}

// Handlers name their controls with string literals, many times a second
// on the timer's path: where a name once led is remembered by the address
// of its text, so it is neither converted nor hashed again. The text is
// compared as well, for a caller that reuses a buffer for another name.
// The controls are all made when the form is built, so the pointers into
// m_controls stay valid.
const Form::Control *Form::find(const char *name) const
{
    auto it = m_byLiteral.constFind(name);
    if (it != m_byLiteral.constEnd() && qstrcmp(it->name.constData(), name) == 0)
        return it->control;
    const Control *c = find(QString::fromUtf8(name));
    if (c)
        m_byLiteral.insert(name, {QByteArray(name), c});
    return c;
}

bool Form::faulted(const QString &name, Property property, Access access) const
{
    return !m_faults.isEmpty() && m_faults.contains(faultKey(name, property, access));
}

bool Form::faulted(const char *name, Property property, Access access) const
{
    return !m_faults.isEmpty() && faulted(QString::fromUtf8(name), property, access);
}

Status Form::property(const QString &name, Property property, QVariant &value) const
{
    const Control *c = find(name);
    if (!c)
        return Status::NoSuchControl;
    if (faulted(name, property, Access::Read))
        return Status::Failed;
    return read(*c, property, value);
}

Status Form::setProperty(const QString &name, Property property, const QVariant &value)
{
    const Control *c = find(name);
    if (!c)
        return Status::NoSuchControl;
    if (faulted(name, property, Access::Write))
        return Status::Failed;
    return write(*c, property, value);
}

Status Form::read(const Control &c, Property property, QVariant &value) const
{
    if (property == Property::Visible && c.widget) {
        value = !c.widget->isHidden();
        return Status::Ok;
    }
    if (property == Property::Text && c.kind == Kind::TextBox) {
        value = static_cast<TextBox *>(c.widget)->text();
        return Status::Ok;
    }
    if (property == Property::Caption && c.kind == Kind::Label) {
        value = static_cast<Label *>(c.widget)->caption();
        return Status::Ok;
    }
    if (property == Property::Caption && c.kind == Kind::CommandButton) {
        value = static_cast<QPushButton *>(c.widget)->text();
        return Status::Ok;
    }
    return Status::NoSuchProperty;
}

Status Form::write(const Control &c, Property property, const QVariant &value)
{
    if (property == Property::Visible && c.widget) {
        c.widget->setVisible(value.toBool());
        return Status::Ok;
    }
    if (property == Property::Text && c.kind == Kind::TextBox) {
        static_cast<TextBox *>(c.widget)->setText(value.toString());
        return Status::Ok;
    }
    if (property == Property::Caption && c.kind == Kind::Label) {
        static_cast<Label *>(c.widget)->setCaption(value.toString());
        return Status::Ok;
    }
    if (property == Property::Caption && c.kind == Kind::CommandButton) {
        static_cast<QPushButton *>(c.widget)->setText(value.toString());
        return Status::Ok;
    }
    if (property == Property::Navigate && c.kind == Kind::BrowserView)
        return static_cast<BrowserView *>(c.widget)->navigate(value.toString());
    return Status::NoSuchProperty;
}

// --- the raising forms that handlers use ---

QVariant Form::get(const char *control, Property property) const
{
    QVariant value;
    Status s = Status::NoSuchControl;
    if (const Control *c = find(control))
        s = faulted(control, property, Access::Read) ? Status::Failed : read(*c, property, value);
    if (s != Status::Ok)
        throw RunTimeError(s, QString::fromUtf8(control), property);
    return value;
}

void Form::put(const char *control, Property property, const QVariant &value)
{
    Status s = Status::NoSuchControl;
    if (const Control *c = find(control))
        s = faulted(control, property, Access::Write) ? Status::Failed : write(*c, property, value);
    if (s != Status::Ok)
        throw RunTimeError(s, QString::fromUtf8(control), property);
}

bool Form::visible(const char *control) const { return get(control, Property::Visible).toBool(); }
void Form::setVisible(const char *control, bool visible) { put(control, Property::Visible, visible); }
QString Form::text(const char *control) const { return get(control, Property::Text).toString(); }
void Form::setText(const char *control, const QString &text) { put(control, Property::Text, text); }
void Form::setCaption(const char *control, const QString &caption) { put(control, Property::Caption, caption); }
void Form::navigate(const char *control, const QString &address) { put(control, Property::Navigate, address); }

QString Form::appFolder() const
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty())
        throw RunTimeError(Status::Failed, QStringLiteral("App"), Property::AppFolder);
    return QDir::toNativeSeparators(folder);
}

static void check(Status status, const char *form, Property property)
{
    if (status != Status::Ok)
        throw RunTimeError(status, QString::fromUtf8(form), property);
}

void Form::showForm(const char *form) { check(Forms::show(QString::fromUtf8(form)), form, Property::Show); }
void Form::hideForm(const char *form) { check(Forms::hide(QString::fromUtf8(form)), form, Property::Hide); }
void Form::unloadForm(const char *form) { check(Forms::unload(QString::fromUtf8(form)), form, Property::Unload); }
void Form::end() { Forms::end(); }

} // namespace runtime
