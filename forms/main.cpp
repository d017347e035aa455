// VELK-Simulator: the disclaimer comes first; agreeing opens the dashboard.
#include "dashboardform.h"
#include "disclaimerform.h"
#include "forms.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELK-Simulator"));
    // Lets a Wayland compositor tie the windows to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.velk.Simulator"));
    runtime::Forms::add(disclaimerForm());
    runtime::Forms::add(dashboardForm());
    return runtime::Forms::run(QStringLiteral("Form2"));
}
