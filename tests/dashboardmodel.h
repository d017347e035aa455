// A model of the dashboard for checking it from outside: which control a
// click at a window point reaches, worked out from the rectangles, the
// containers and the stacking of the form table (dashboardForm()), and what
// that click then does, from the tables of zones below (power, modes, the
// lamp each console button switches). It keeps its own expected state; a
// test compares it with the real one.
#pragma once

#include "description/binding.h"
#include "dashboardform.h"
#include "description/description.h"
#include "description/layout.h"

#include <QHash>
#include <QRect>
#include <QSet>
#include <QStringList>

class DashboardModel
{
public:
    DashboardModel()
    {
        const runtime::FormDescription &d = dashboardForm();
        for (const runtime::ControlRow &row : d.controls) {
            if (row.kind == runtime::Kind::Line || row.kind == runtime::Kind::Timer)
                continue;  // lines let clicks through; a timer has no place
            Item item;
            item.name = QString::fromUtf8(row.name);
            item.kind = row.kind;
            item.rect = QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15);
            item.border = row.settings.border == runtime::Border::Flat ? 1 : 2;
            item.hidden = row.settings.hidden;
            const QString container = QString::fromUtf8(row.container ? row.container : "");
            m_items.append(item);
            m_children[container].append(m_items.size() - 1);
        }
        reset();
    }

    // The state at load: what the description hides, the power off.
    void reset()
    {
        m_shown.clear();
        for (const Item &i : m_items)
            if (!i.hidden)
                m_shown.insert(i.name);
        m_on = false;
    }

    // The control the window system gives a click at p (window
    // coordinates): "Form1" for the window itself.
    QString hit(QPoint p) const
    {
        const QString found = hitIn(QString(), p);
        return found.isEmpty() ? QStringLiteral("Form1") : found;
    }

    // A click on a control, as its handler (if any) acts.
    void click(const QString &control)
    {
        static const QHash<QString, QString> lamps = [] {
            QHash<QString, QString> byZone;
            for (const LampZone &z : LampZones)
                byZone.insert(QString::fromLatin1(z.zone), QString::fromLatin1(z.lamp));
            return byZone;
        }();
        static const QHash<QString, QString> modes = {
            {"Label3", "velknormall"}, {"Label4", "velkauto"}, {"Label5", "velkpursuit"},
            {"Label7", "Picture1"}, {"Label8", "Picture1"}, {"Label9", "Picture1"},
        };
        if (const QString lamp = lamps.value(control); !lamp.isEmpty()) {
            show(lamp, !m_shown.contains(lamp));
        } else if (control == QLatin1String("Label1")) {
            for (const QString &d : Displays)
                show(d, false);
            if (!m_on)
                show(QStringLiteral("velknormall"), true);
            m_on = !m_on;
        } else if (const QString mode = modes.value(control); !mode.isEmpty() && m_on) {
            for (const QString &d : Displays)
                show(d, d == mode);
        }
    }

    bool on() const { return m_on; }
    bool shown(const QString &control) const { return m_shown.contains(control); }
    // The window rectangle of a control, for aiming clicks at it.
    static QRect windowRect(const QString &control)
    {
        const runtime::FormDescription &d = dashboardForm();
        const runtime::Rect r = runtime::windowRect(d, runtime::rowNamed(d, control.toStdString()));
        return QRect(r.x, r.y, r.width, r.height);
    }

    // The twenty pictures that change, and the power's text.
    static QStringList switchable()
    {
        QStringList s = Displays;
        for (int i = 6; i <= 21; ++i)
            s << QStringLiteral("Picture%1").arg(i);
        return s;
    }

    inline static const QStringList Displays = {"Picture1", "velkauto", "velknormall", "velkpursuit"};

    // Which lamp each console zone switches, the rows in order, each row's
    // left button first.
    struct LampZone
    {
        const char *zone, *lamp;
    };
    static constexpr LampZone LampZones[] = {
        {"Label12", "Picture6"},  {"Label13", "Picture6"},  {"Label14", "Picture7"},  {"Label15", "Picture7"},
        {"Label16", "Picture8"},  {"Label17", "Picture8"},  {"Label18", "Picture9"},  {"Label19", "Picture9"},
        {"Label20", "Picture10"}, {"Label21", "Picture10"}, {"Label22", "Picture11"}, {"Label23", "Picture11"},
        {"Label24", "Picture13"}, {"Label26", "Picture13"}, {"Label25", "Picture14"}, {"Label27", "Picture14"},
        {"Label45", "Picture21"}, {"Label44", "Picture21"}, {"Label43", "Picture20"}, {"Label42", "Picture20"},
        {"Label41", "Picture19"}, {"Label40", "Picture19"}, {"Label39", "Picture18"}, {"Label38", "Picture18"},
        {"Label37", "Picture17"}, {"Label36", "Picture17"}, {"Label35", "Picture16"}, {"Label34", "Picture16"},
        {"Label33", "Picture15"}, {"Label31", "Picture15"}, {"Label32", "Picture12"}, {"Label30", "Picture12"},
    };

private:
    struct Item
    {
        QString name;
        runtime::Kind kind;
        QRect rect;  // in the container's client area
        int border = 1;
        bool hidden = false;
    };

    void show(const QString &c, bool shown)
    {
        if (shown)
            m_shown.insert(c);
        else
            m_shown.remove(c);
    }

    int indexOf(const QString &name) const
    {
        for (int i = 0; i < m_items.size(); ++i)
            if (m_items.at(i).name == name)
                return i;
        return -1;
    }

    QString containerOf(int index) const
    {
        for (auto it = m_children.cbegin(); it != m_children.cend(); ++it)
            if (it.value().contains(index))
                return it.key();
        return {};
    }

    // Front to back within a container: windowed controls in listed order,
    // then labels in listed order, as the runtime stacks them.
    QString hitIn(const QString &container, QPoint p) const
    {
        const QList<int> children = m_children.value(container);
        for (bool windowed : {true, false}) {
            for (int i : children) {
                const Item &item = m_items.at(i);
                if ((item.kind != runtime::Kind::Label) != windowed || !m_shown.contains(item.name)
                    || !item.rect.contains(p))
                    continue;
                if (item.kind == runtime::Kind::PictureBox) {
                    const QRect client = item.rect.adjusted(item.border, item.border, -item.border, -item.border);
                    if (client.contains(p)) {
                        // Children are clipped to the client area.
                        const QString inner = hitIn(item.name, p - client.topLeft());
                        if (!inner.isEmpty())
                            return inner;
                    }
                }
                return item.name;
            }
        }
        return {};
    }

    QList<Item> m_items;
    QHash<QString, QList<int>> m_children;  // container ("" the window) to items, in listed order
    QSet<QString> m_shown;
    bool m_on = false;
};
