#include "dashboardfixture.h"
#include <QScreen>
class tst_HighDpi : public DashboardFixture {
    Q_OBJECT
private slots:
    void probe() {
        loadDashboard();
        qInfo() << "dpr" << window->devicePixelRatio() << "screen" << window->screen()->geometry() << window->screen()->devicePixelRatio() << "win" << form->window()->geometry();
        powerOn();
        click({49, 513});
        QImage img = form->window()->grab().toImage();
        qInfo() << img.size() << img.devicePixelRatio();
        img.save(qEnvironmentVariable("OUT"));
    }
};
QTEST_MAIN(tst_HighDpi)
#include "tst_highdpi.moc"
