// VELK-Simulator: the disclaimer comes first; agreeing opens the dashboard.
#include "dashboardform.h"
#include "disclaimerform.h"
#include "forms.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELK-Simulator"));
    runtime::Forms::add(disclaimerForm());
    runtime::Forms::add(dashboardForm());
    return runtime::Forms::run(QStringLiteral("Form2"));
}
