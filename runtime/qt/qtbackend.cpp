#include "qtbackend.h"
#include "description/description.h"
#include "pictures.h"
#include "qtwindow.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <QDebug>
#include <QScreen>

namespace runtime::qt {

QtBackend::QtBackend()
{
    // The runtime decides when the program ends, not the last window.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    qApp->installEventFilter(this);
    // The faces the descriptions name, where the system lacks them.
    for (const FontStandIn &face : FontStandIns) {
        QStringList standIns;
        for (const char *standIn : face.standIns)
            if (standIn)
                standIns << QString::fromUtf8(standIn);
        QFont::insertSubstitutions(QString::fromUtf8(face.face), standIns);
    }
}

QtBackend::~QtBackend()
{
    delete m_errorBox;
}

std::unique_ptr<Window> QtBackend::build(Form &form)
{
    return std::make_unique<QtWindow>(form);
}

bool QtBackend::hasPicture(std::string_view name) const
{
    return !picturePath(QString::fromUtf8(name.data(), qsizetype(name.size()))).isEmpty();
}

std::string QtBackend::appFolder() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

double QtBackend::refreshHz() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->refreshRate() : 0;
}

void QtBackend::report(const std::string &message, bool fatal)
{
    // Through Qt's own message stream, where a test can hear it.
    const QString text = QString::fromStdString(message);
    qWarning().noquote() << text;
    if (fatal) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), text);
        return;
    }
    // One box at a time: a failing timer handler must not bury the desktop.
    if (m_errorBox)
        return;
    m_errorBox = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), text);
    m_errorBox->setAttribute(Qt::WA_DeleteOnClose);
    m_errorBox->setWindowModality(Qt::NonModal);  // the program goes on
    m_errorBox->show();
}

// The program offers no What's This? help. Qt's X11 layer enters that mode
// on any client's _NET_WM_CONTEXT_HELP, listed by the window or not, and
// the mode swallows the user's next click with nothing on the screen to
// say why: so no one may start it.
bool QtBackend::eventFilter(QObject *, QEvent *event)
{
    return event->type() == QEvent::EnterWhatsThisMode;
}

void QtBackend::later(std::function<void()> work)
{
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

int QtBackend::exec()
{
    return QApplication::exec();
}

void QtBackend::quit(int status)
{
    if (m_errorBox)
        m_errorBox->deleteLater();
    QCoreApplication::exit(status);
}

} // namespace runtime::qt
