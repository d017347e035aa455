// Counts the events of the given types that reach the objects it watches:
// paints that must not happen, presses that must all arrive.
#pragma once

#include <QEvent>
#include <QList>
#include <QObject>

class EventCounter : public QObject
{
public:
    explicit EventCounter(QList<QEvent::Type> types) : m_types(std::move(types)) {}

    int count = 0;

    void watch(QObject *object) { object->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += m_types.contains(event->type());
        return false;
    }

private:
    QList<QEvent::Type> m_types;
};
