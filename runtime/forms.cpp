#include "forms.h"
#include "form.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <QDebug>

#include <cstdio>

namespace runtime {

Forms::Forms()
{
    // The runtime decides when the program ends, not the last window.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Where MS Sans Serif is missing, a face with Arial's metrics is the
    // nearest: fontconfig's own pick for it is far wider and would overflow
    // the small status fields. Arial itself resolves through fontconfig.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
}

Forms &Forms::instance()
{
    static Forms *forms = new Forms;  // lives as long as the process
    return *forms;
}

void Forms::add(const FormDescription &description)
{
    instance().m_descriptions.insert(QString::fromUtf8(description.window.name), description);
}

Form *Forms::loaded(const QString &name)
{
    return instance().m_loaded.value(name);
}

bool Forms::hasEnded()
{
    return instance().m_ended;
}

Status Forms::load(const QString &name)
{
    Forms &self = instance();
    if (self.m_ended)
        return Status::Failed;
    if (self.m_loaded.contains(name))
        return Status::Ok;
    auto it = self.m_descriptions.constFind(name);
    if (it == self.m_descriptions.constEnd())
        return Status::NoSuchForm;
    const QStringList errors = Form::validate(*it);
    if (!errors.isEmpty()) {
        for (const QString &e : errors)
            qWarning().noquote() << name + QStringLiteral(": ") + e;
        return Status::Failed;
    }
    auto *form = new Form(*it);
    self.m_loaded.insert(name, form);
    form->runHandler(QStringLiteral("Form_Load"));
    return Status::Ok;
}

Status Forms::show(const QString &name)
{
    if (const Status s = load(name); s != Status::Ok)
        return s;
    Form *form = loaded(name);
    if (!form)  // the load handler unloaded it, or ended the program
        return Status::Failed;
    form->show();
    return Status::Ok;
}

Status Forms::hide(const QString &name)
{
    Form *form = loaded(name);
    if (!form)
        return instance().m_descriptions.contains(name) ? Status::Ok : Status::NoSuchForm;
    form->window()->hide();
    return Status::Ok;
}

Status Forms::unload(const QString &name)
{
    Forms &self = instance();
    Form *form = self.m_loaded.value(name);
    if (!form)
        return self.m_descriptions.contains(name) ? Status::Ok : Status::NoSuchForm;
    form->runHandler(QStringLiteral("Form_Unload"));
    if (self.m_loaded.value(name) != form)  // the handler ended the program
        return Status::Ok;
    self.m_loaded.remove(name);
    form->window()->hide();
    form->deleteLater();  // we may be inside one of its handlers
    if (self.m_loaded.isEmpty())
        end();
    return Status::Ok;
}

void Forms::end()
{
    Forms &self = instance();
    if (self.m_ended)
        return;
    self.m_ended = true;
    for (Form *form : std::as_const(self.m_loaded)) {
        form->window()->hide();
        form->deleteLater();
    }
    self.m_loaded.clear();
    if (self.m_errorBox)
        self.m_errorBox->deleteLater();
    emit self.ended();
    QCoreApplication::exit(0);
}

int Forms::run(const QString &startForm)
{
    const Status s = show(startForm);
    if (s != Status::Ok) {
        std::fprintf(stderr, "%s: cannot be shown: %s\n", qPrintable(startForm), qPrintable(describe(s)));
        return 1;
    }
    return QApplication::exec();
}

void Forms::reportError(const QString &handler, const RunTimeError &error)
{
    const QString message = QStringLiteral("Run-time error in %1: %2.%3: %4")
            .arg(handler, error.object(), describe(error.property()), describe(error.status()));
    Forms &self = instance();
    if (self.m_reported.contains(message))
        return;
    self.m_reported.insert(message);
    qWarning().noquote() << message;
    // One box at a time: a failing timer handler must not bury the desktop.
    if (self.m_errorBox)
        return;
    self.m_errorBox = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), message);
    self.m_errorBox->setAttribute(Qt::WA_DeleteOnClose);
    self.m_errorBox->setWindowModality(Qt::NonModal);  // the program goes on
    self.m_errorBox->show();
}

void Forms::reset()
{
    Forms &self = instance();
    for (Form *form : std::as_const(self.m_loaded))
        delete form;
    self.m_loaded.clear();
    delete self.m_errorBox;
    self.m_ended = false;
    self.m_reported.clear();
}

} // namespace runtime
