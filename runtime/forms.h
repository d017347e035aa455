// The program's windows: known by name from their descriptions, each
// loaded at most once, on first use. Showing loads first; unloading the
// last loaded window, or end(), ends the program with exit status 0.
// Run-time errors that handlers raise are reported here.
#pragma once

#include "formdescription.h"
#include "status.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

class QMessageBox;

namespace runtime {

class Form;

class Forms : public QObject
{
    Q_OBJECT

public:
    static Forms &instance();

    static void add(const FormDescription &description);
    static Status load(const QString &name);
    static Status show(const QString &name);
    static Status hide(const QString &name);
    static Status unload(const QString &name);
    static void end();

    static Form *loaded(const QString &name);  // nullptr when not loaded
    static bool hasEnded();

    // Shows the start-up window and runs the event loop; the exit status.
    static int run(const QString &startForm);

    static void reportError(const QString &handler, const RunTimeError &error);

    // Tests start each case afresh: unloads everything, forgets an end.
    static void reset();

signals:
    void ended();

private:
    Forms();

    QHash<QString, FormDescription> m_descriptions;
    QHash<QString, Form *> m_loaded;
    bool m_ended = false;
    QPointer<QMessageBox> m_errorBox;
    // Each distinct run-time error is reported once a run: a handler that
    // fails on every tick of a 1 ms timer must not write a thousand lines
    // a second.
    QSet<QString> m_reported;
};

} // namespace runtime
