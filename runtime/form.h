// A loaded window: built from its description, it owns the window widget
// and its controls and gives the handlers access to them by name. Every
// access has a status-returning form and, for handlers, a raising form.
#pragma once

#include "formdescription.h"
#include "status.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QVariant>

class QTimer;
class QWidget;

namespace runtime {

class Form : public QObject
{
    Q_OBJECT

public:
    // Checks a description before anything is built; empty when it is sound.
    static QStringList validate(const FormDescription &description);

    // Builds the window hidden with all its controls and binds the handlers.
    // The description must have passed validate().
    explicit Form(const FormDescription &description);
    ~Form() override;

    QString name() const { return m_name; }
    QWidget *window() const { return m_window; }
    QWidget *control(const QString &name) const;
    void show();

    Status property(const QString &control, Property property, QVariant &value) const;
    Status setProperty(const QString &control, Property property, const QVariant &value);

    // Makes every read or every write of one property of one control fail,
    // as a device error would; lets tests stop a handler part-way.
    enum class Access { Read, Write };
    void injectFault(const QString &control, Property property, Access access);

    // Runs a bound handler, if any; a run-time error it raises is reported
    // and the program goes on. Returns whether a handler was bound.
    bool runHandler(const QString &handlerName);

    // --- what handlers call; each raises RunTimeError on failure ---
    bool visible(const char *control) const;
    void setVisible(const char *control, bool visible);
    QString text(const char *control) const;
    void setText(const char *control, const QString &text);
    void setCaption(const char *control, const QString &caption);
    void navigate(const char *control, const QString &address);
    QString appFolder() const;
    void showForm(const char *form);
    void hideForm(const char *form);
    void unloadForm(const char *form);
    void end();

private:
    struct Control
    {
        Kind kind;
        QWidget *widget = nullptr;
        QTimer *timer = nullptr;
    };
    const Control *find(const QString &name) const;
    const Control *find(const char *name) const;
    bool faulted(const QString &name, Property property, Access access) const;
    bool faulted(const char *name, Property property, Access access) const;
    Status read(const Control &c, Property property, QVariant &value) const;
    Status write(const Control &c, Property property, const QVariant &value);

    void build(const FormDescription &description);
    void stack(const FormDescription &description);
    void order(const FormDescription &description);
    void bind(const FormDescription &description);
    void invoke(const QString &handlerName, HandlerFn fn);
    QVariant get(const char *control, Property property) const;
    void put(const char *control, Property property, const QVariant &value);

    QString m_name;
    QWidget *m_window = nullptr;
    QHash<QString, Control> m_controls;
    QHash<QString, HandlerFn> m_handlers;
    QWidget *m_firstFocus = nullptr;
    bool m_focusPlaced = false;
    QSet<QString> m_faults;  // "control/property"
    // Where each name a handler passed led; see find(const char *).
    struct Named
    {
        QByteArray name;
        const Control *control;
    };
    mutable QHash<const char *, Named> m_byLiteral;
};

} // namespace runtime
