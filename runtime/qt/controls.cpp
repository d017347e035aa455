// The Qt class of each kind of control, and the three small kinds that are
// a Qt class with little more: the command button and the timer.
#include "browserview.h"
#include "label.h"
#include "line.h"
#include "picturebox.h"
#include "qtcontrol.h"
#include "textbox.h"
#include "timing.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace runtime {

namespace {

// A push button that is never the window's default: Enter and Esc choose
// no button.
class CommandButton : public QPushButton, public QtControl
{
public:
    CommandButton(const ControlRow &row, QWidget *parent)
        : QPushButton(QString::fromUtf8(row.settings.caption ? row.settings.caption : ""), parent)
    {
        setAutoDefault(false);
    }
    QWidget *widget() override { return this; }
    Status read(Property p, Value &value) const override
    {
        if (p != Property::Caption)
            return Status::NoSuchProperty;
        value = text().toStdString();
        return Status::Ok;
    }
    Status write(Property p, const Value &value) override
    {
        if (p != Property::Caption)
            return Status::NoSuchProperty;
        setText(QString::fromStdString(std::get<std::string>(value)));
        return Status::Ok;
    }
    void onEvent(std::function<void(Event)> raise) override
    {
        connect(this, &QPushButton::clicked, this, [raise] { raise(Event::Click); });
    }
};

// Runs from the moment its window is loaded, as often as timing.h says:
// the screen's refresh is what Qt knows of the primary screen. A coarse
// timer lets Qt wake the process once for this and any other timer due
// within a few per cent of it.
class Timer : public QTimer, public QtControl
{
public:
    Timer(const ControlRow &row, QWidget *parent) : QTimer(parent)
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        setTimerType(Qt::CoarseTimer);
        setInterval(row.settings.interval > 0 ? timerDeliveryMs(row.settings.interval, screen ? screen->refreshRate() : 0)
                                              : 0);
    }
    QWidget *widget() override { return nullptr; }
    void onEvent(std::function<void(Event)> raise) override
    {
        connect(this, &QTimer::timeout, this, [raise] { raise(Event::Timer); });
        if (interval() > 0)
            start();
    }
};

template <class C>
QtControl *make(const ControlRow &row, QWidget *parent) { return new C(row, parent); }

const struct
{
    Kind kind;
    QtControl *(*make)(const ControlRow &, QWidget *);
} Makers[] = {
    {Kind::PictureBox, make<PictureBox>},
    {Kind::Label, make<Label>},
    {Kind::TextBox, make<TextBox>},
    {Kind::CommandButton, make<CommandButton>},
    {Kind::Line, make<Line>},
    {Kind::Timer, make<Timer>},
    {Kind::BrowserView, make<BrowserView>},
};

} // namespace

QtControl *makeControl(const ControlRow &row, QWidget *parent)
{
    for (const auto &m : Makers)
        if (m.kind == row.kind)
            return m.make(row, parent);
    return nullptr;
}

} // namespace runtime
