// The yardstick: the smallest Qt Widgets program doing VELK-Simulator's
// job, written the plain way, as the floor that any Qt program of this kind
// pays. The bench runs it side by side with the program and divides.
//
// A 324 x 270 window with a text box and two buttons; "I Agree" hides it and
// builds a borderless 1024 x 768 window with the four panel pictures (the
// program's own, from the same embedded files) and two readout labels that
// a 1 ms timer feeds from two hidden text boxes. The zones the bench clicks
// are tested in one mouse handler at the program's coordinates: power
// (writes "000" and shows the normal mode picture), normal, the voice box
// (a QMovie of the same GIF, paused while hidden), one lamp, and exit.
//
// With --same-content it also shows what the program's windows hold beyond
// that minimum, still the plain way: the disclaimer's icon, three labels in
// their fonts and its line; the dashboard's top bar (three labels, five
// lines), all sixteen lamps, the three mode pictures and the two status
// fields. The program's ratio to this one is what its forms runtime costs
// over plain Qt for the same pictures and text.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <memory>

namespace {

const char Warning[] =
    "WARNING!!\n\n"
    "This is not a new version of the VELK-Simulator!\n"
    "This is the first one! NEVER released to the public before!\n"
    "But this is the project that gave me the idea of creating a talking VELK!\n\n"
    "So enjoy this special release ;)\n\n"
    "NOTE: You cannot expect much from this release, it just shows you the beginning.\n";

// The program's zones and picture places, in window pixels.
const QRect Power(825, 393, 33, 57), Normal(881, 393, 25, 57), VoiceBox(921, 329, 89, 25),
        LampZone(25, 497, 49, 33), Exit(1000, 0, 25, 25);

bool sameContent = false;

QFont makeFont(const char *family, int pixels, bool bold = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel *label(QWidget *parent, const char *text, QRect at, const QFont &font, Qt::Alignment align = Qt::AlignLeft)
{
    auto *l = new QLabel(QString::fromLatin1(text), parent);
    l->setFont(font);
    l->setAlignment(align | Qt::AlignTop);
    l->setWordWrap(true);
    l->setGeometry(at);
    return l;
}

class Dashboard : public QWidget
{
public:
    Dashboard() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    {
        setWindowTitle(QStringLiteral("Yardstick dashboard"));
        setGeometry(0, 0, 1024, 768);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::black);
        pal.setColor(QPalette::WindowText, Qt::red);
        setPalette(pal);
        setAutoFillBackground(true);

        picture("leftpanel.jpg", {-119, 249, 503, 207});
        picture("rightpanel.jpg", {529, 257, 495, 207});
        picture("leftconsole.jpg", {17, 465, 175, 303});
        picture("rightconsole.jpg", {809, 457, 207, 311});
        m_normal = picture("modenormal.bmp", {353, 265, 183, 191});
        m_normal->hide();
        m_lamp = picture("lamplit.jpg", {89, 505, 23, 15});
        m_lamp->hide();

        m_left = readout("Label10", {209, 297, 105, 57}, 37);
        m_right = readout("Label11", {657, 305, 97, 49}, 35);
        m_source3.hide();
        m_source4.hide();
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_left->setText(m_source3.text());
            m_right->setText(m_source4.text());
        });
        m_timer.start();

        if (sameContent) {
            // The other fifteen lamps, the other two mode pictures, the top
            // bar and the status fields.
            const QPoint lamps[] = {{89, 537}, {89, 569}, {89, 601}, {89, 649}, {89, 673}, {89, 705}, {89, 737},
                                    {921, 497}, {921, 529}, {921, 561}, {921, 593}, {921, 641}, {921, 665},
                                    {921, 697}, {921, 729}};
            for (QPoint at : lamps)
                picture("lamplit.jpg", {at, QSize(23, 15)})->hide();
            picture("modeauto.bmp", {353, 265, 183, 191})->hide();
            picture("modepursuit.bmp", {353, 265, 175, 191})->hide();
            label(this, "    Push The Buttons!           >>>          velk.example           >>", {0, 0, 745, 25},
                  makeFont("MS Sans Serif", 18));
            label(this, "Tovek's VELK Simulator", {784, 0, 193, 25}, makeFont("MS Sans Serif", 16, true));
            label(this, "X", {1000, 0, 25, 25}, makeFont("Arial", 24));
            QPalette red = pal;
            red.setColor(QPalette::Base, Qt::black);
            red.setColor(QPalette::Text, Qt::red);
            for (auto [text, at] : {std::pair{"CPU Status:", QRect(400, 456, 65, 19)}, {"Off", QRect(464, 456, 33, 19)}}) {
                auto *field = new QLineEdit(QString::fromLatin1(text), this);
                field->setReadOnly(true);
                field->setPalette(red);
                field->setGeometry(at);
            }
        }

        m_movie.setFileName(QCoreApplication::applicationDirPath() + QStringLiteral("/velk voicebox.gif"));
        m_voiceBox = new QLabel(this);
        m_voiceBox->setObjectName(QStringLiteral("WebBrowser1"));  // as the program's, for the bench to count its paints
        m_voiceBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_voiceBox->setGeometry(361, 265, 167, 191);
        m_voiceBox->setMovie(&m_movie);
        m_voiceBox->hide();
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        const QPoint at = event->position().toPoint();
        if (Power.contains(at)) {
            const bool on = m_source3.text().isEmpty();
            m_source3.setText(on ? QStringLiteral("000") : QString());
            m_source4.setText(on ? QStringLiteral("000") : QString());
            showVoiceBox(false);
            m_normal->setVisible(on);
        } else if (Normal.contains(at)) {
            showVoiceBox(false);
            m_normal->show();
        } else if (VoiceBox.contains(at)) {
            m_normal->hide();
            showVoiceBox(true);
        } else if (LampZone.contains(at)) {
            m_lamp->setVisible(!m_lamp->isVisible());
        } else if (Exit.contains(at)) {
            QCoreApplication::quit();
        }
    }

    void paintEvent(QPaintEvent *) override
    {
        if (!sameContent)
            return;
        QPainter p(this);
        p.setPen(Qt::red);
        p.drawLine(744, 24, 744, 0);
        p.drawLine(992, 24, 0, 24);
        p.drawLine(1016, 24, 1016, 0);
        p.drawLine(992, 24, 1016, 24);
        p.drawLine(992, 0, 992, 24);
    }

private:
    QLabel *picture(const char *file, QRect at)
    {
        auto *label = new QLabel(this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setPixmap(QPixmap(QStringLiteral(":/pictures/") + QLatin1String(file)));
        label->setGeometry(at);
        return label;
    }

    // Named as the program's readouts, so that the bench finds them alike.
    QLabel *readout(const char *name, QRect at, int pixels)
    {
        auto *label = new QLabel(QStringLiteral("000"), this);
        label->setObjectName(QLatin1String(name));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(pixels);
        label->setFont(font);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(at);
        return label;
    }

    void showVoiceBox(bool show)
    {
        m_voiceBox->setVisible(show);
        if (show && m_movie.state() == QMovie::NotRunning)
            m_movie.start();
        else
            m_movie.setPaused(!show);
    }

    QLabel *m_left, *m_right, *m_normal, *m_lamp, *m_voiceBox;
    QLineEdit m_source3, m_source4;  // hidden: never shown, only read
    QTimer m_timer;
    QMovie m_movie;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    sameContent = QCoreApplication::arguments().contains(QStringLiteral("--same-content"));
    QWidget disclaimer;
    disclaimer.setWindowTitle(QStringLiteral("Yardstick"));
    disclaimer.resize(324, 270);
    if (sameContent) {
        // What a plain program needs for the same look where MS Sans Serif
        // is missing, as the program's runtime does.
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        disclaimer.setFont(makeFont("MS Sans Serif", 11));
        disclaimer.setWindowIcon(QIcon(QStringLiteral(":/pictures/appicon.ico")));
        label(&disclaimer, "Disclaimer:", {8, 8, 313, 25}, makeFont("MS Sans Serif", 18, true), Qt::AlignHCenter);
        label(&disclaimer, "This is a program created by: Tovek Marrin AKA Dravimok", {8, 216, 313, 17},
              makeFont("MS Sans Serif", 11));
        label(&disclaimer, "Looking for info or the latest version? Visit: velk.example", {8, 240, 313, 25},
              makeFont("MS Sans Serif", 11, true), Qt::AlignHCenter);
        auto *line = new QFrame(&disclaimer);
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(8, 208, 313, 1);
    }
    auto *text = new QPlainTextEdit(QString::fromLatin1(Warning), &disclaimer);
    text->setGeometry(8, 32, 313, 129);
    auto *agree = new QPushButton(QStringLiteral("I Agree"), &disclaimer);
    agree->setGeometry(8, 168, 97, 33);
    auto *decline = new QPushButton(QStringLiteral("I Do Not Agree"), &disclaimer);
    decline->setGeometry(224, 168, 97, 33);

    std::unique_ptr<Dashboard> dashboard;
    QObject::connect(decline, &QPushButton::clicked, &app, &QCoreApplication::quit);
    QObject::connect(agree, &QPushButton::clicked, [&] {
        disclaimer.hide();
        dashboard = std::make_unique<Dashboard>();
        dashboard->show();
    });
    disclaimer.show();
    text->setFocus();
    return app.exec();
}
