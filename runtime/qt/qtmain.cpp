// The program's start on Qt: the application, then the start-up window.
#include "program.h"
#include "qtbackend.h"
#include "registry.h"

#include <QApplication>

namespace runtime {

int run(int argc, char *argv[], const Program &program)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(program.name));
    // Lets a Wayland compositor tie the windows to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(program.desktopId));
    QtBackend::instance();
    for (const FormDescription *form : program.forms)
        FormRegistry::add(*form);
    return FormRegistry::run(program.startForm);
}

} // namespace runtime
