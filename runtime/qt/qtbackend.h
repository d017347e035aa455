// The forms runtime on Qt Widgets: builds each window as widgets, reports
// run-time errors in a message box that does not hold the program up,
// keeps the application out of modes the program does not offer, and runs
// Qt's event loop.
#pragma once

#include "platform/backend.h"

#include <QObject>
#include <QPointer>

class QMessageBox;

namespace runtime::qt {

class QtBackend : public QObject, public Backend
{
public:
    QtBackend();  // after the QApplication
    ~QtBackend() override;

    std::unique_ptr<Window> build(Form &form) override;
    bool hasPicture(std::string_view name) const override;
    std::string appFolder() const override;
    double refreshHz() const override;
    void report(const std::string &message, bool fatal) override;
    void later(std::function<void()> work) override;
    int exec() override;
    void quit(int status) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QMessageBox> m_errorBox;
};

} // namespace runtime::qt
