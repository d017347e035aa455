// The two windows' tables checked against a transcription of the designed
// layout, kept here apart from them: every control in its listed order,
// with its kind, container, rectangle in twips (a line's end points), tab
// index, font and whether it is hidden at load. The other tests click and
// look where the tables say, so a slip in a table shows here first.
#include "dashboardform.h"
#include "disclaimerform.h"
#include "description/kinds.h"

#include <QTest>

namespace {

struct Designed
{
    const char *form, *name, *kind, *container;
    int left, top, width, height, tabIndex;
    runtime::Font font;
    bool hidden;
};

const Designed Layout[] = {
    // form    control          kind                container         left     top   width  height  tab  font                          hidden
    {"Form2", "Command2",     "command button",   "",               3360,   2520,   1455,    495,   3, {},                          false},
    {"Form2", "Command1",     "command button",   "",                120,   2520,   1455,    495,   2, {},                          false},
    {"Form2", "Text1",        "text box",         "",                120,    480,   4695,   1935,   1, {},                          false},
    {"Form2", "Line1",        "line",             "",                120,   3120,   4800,   3120,  -1, {},                          false},
    {"Form2", "Label3",       "label",            "",                120,   3600,   4695,    375,   5, {"MS Sans Serif", 8.25, 700}, false},
    {"Form2", "Label2",       "label",            "",                120,   3240,   4695,    255,   4, {},                          false},
    {"Form2", "Label1",       "label",            "",                120,    120,   4695,    375,   0, {"MS Sans Serif", 13.5, 700}, false},
    {"Form1", "Picture21",   "picture box",      "",             13800,   7440,    375,    255,  55, {},                          true},
    {"Form1", "Picture20",   "picture box",      "",             13800,   7920,    375,    255,  54, {},                          true},
    {"Form1", "Picture19",   "picture box",      "",             13800,   8400,    375,    255,  53, {},                          true},
    {"Form1", "Picture18",   "picture box",      "",             13800,   8880,    375,    255,  52, {},                          true},
    {"Form1", "Picture17",   "picture box",      "",             13800,   9600,    375,    255,  51, {},                          true},
    {"Form1", "Picture16",   "picture box",      "",             13800,   9960,    360,    375,  50, {},                          true},
    {"Form1", "Picture15",   "picture box",      "",             13800,  10440,    375,    375,  49, {},                          true},
    {"Form1", "Picture12",   "picture box",      "",             13800,  10920,    375,    375,  48, {},                          true},
    {"Form1", "Picture14",   "picture box",      "",              1320,  11040,    375,    375,  31, {},                          true},
    {"Form1", "Picture13",   "picture box",      "",              1320,  10560,    375,    375,  30, {},                          true},
    {"Form1", "Picture11",   "picture box",      "",              1320,  10080,    360,    375,  29, {},                          true},
    {"Form1", "Picture10",   "picture box",      "",              1320,   9720,    375,    255,  28, {},                          true},
    {"Form1", "Picture9",    "picture box",      "",              1320,   9000,    375,    255,  27, {},                          true},
    {"Form1", "Picture8",    "picture box",      "",              1320,   8520,    375,    255,  26, {},                          true},
    {"Form1", "Picture7",    "picture box",      "",              1320,   8040,    375,    255,  25, {},                          true},
    {"Form1", "Picture6",    "picture box",      "",              1320,   7560,    375,    255,  24, {},                          true},
    {"Form1", "Timer1",      "timer",            "",                 0,      0,      0,      0,  -1, {},                          false},
    {"Form1", "Text4",       "text box",         "",             10080,   5640,   1455,    690,  19, {"Arial", 26.25, 700},       true},
    {"Form1", "Text2",       "text box",         "",              6000,   6840,    975,    285,  10, {},                          false},
    {"Form1", "Text1",       "text box",         "",              6960,   6840,    495,    285,   9, {},                          false},
    {"Form1", "velkpursuit", "picture box",      "",              5280,   3960,   2655,   2895,   7, {},                          true},
    {"Form1", "Label7",      "label",            "velkpursuit",    240,   2880,   2535,     15,  15, {},                          false},
    {"Form1", "velkauto",    "picture box",      "",              5280,   3960,   2775,   2895,   6, {},                          true},
    {"Form1", "velknormall", "picture box",      "",              5280,   3960,   2775,   2895,   5, {},                          true},
    {"Form1", "Picture1",    "picture box",      "",              5400,   3960,   2535,   2895,   1, {},                          true},
    {"Form1", "WebBrowser1", "web-browser view", "Picture1",      -240,   -360,   3735,   5175,   2, {},                          false},
    {"Form1", "Picture4",    "picture box",      "",              7920,   3840,   7455,   3135,   4, {},                          false},
    {"Form1", "Label11",     "label",            "Picture4",      1920,    720,   1455,    735,  23, {"Arial", 26.25, 400},       false},
    {"Form1", "Label9",      "label",            "Picture4",      5880,   1080,   1335,    375,  17, {},                          false},
    {"Form1", "Label5",      "label",            "Picture4",      6960,   2040,    375,    855,  13, {},                          false},
    {"Form1", "Label4",      "label",            "Picture4",      6120,   2040,    375,    855,  12, {},                          false},
    {"Form1", "Label3",      "label",            "Picture4",      5280,   2040,    375,    855,  11, {},                          false},
    {"Form1", "Label1",      "label",            "Picture4",      4440,   2040,    495,    855,   8, {},                          false},
    {"Form1", "Picture3",    "picture box",      "",             -1800,   3720,   7575,   3135,   3, {},                          false},
    {"Form1", "Text3",       "text box",         "Picture3",      5400,   1920,   1455,    735,  18, {"Arial", 27.75, 400},       true},
    {"Form1", "Label10",     "label",            "Picture3",      4920,    720,   1575,    855,  22, {"Arial", 27.75, 400},       false},
    {"Form1", "Label8",      "label",            "Picture3",      4560,   1920,   2535,    375,  16, {},                          false},
    {"Form1", "Picture2",    "picture box",      "",               240,   6960,   2655,   4575,  21, {},                          false},
    {"Form1", "Label27",     "label",            "Picture2",      1680,   4080,    735,    375,  47, {},                          false},
    {"Form1", "Label26",     "label",            "Picture2",      1680,   3600,    735,    375,  46, {},                          false},
    {"Form1", "Label25",     "label",            "Picture2",       120,   4080,    615,    375,  45, {},                          false},
    {"Form1", "Label24",     "label",            "Picture2",       120,   3600,    735,    375,  44, {},                          false},
    {"Form1", "Label23",     "label",            "Picture2",      1680,   3120,    735,    375,  43, {},                          false},
    {"Form1", "Label22",     "label",            "Picture2",       120,   3120,    735,    375,  42, {},                          false},
    {"Form1", "Label21",     "label",            "Picture2",      1560,   2520,    855,    495,  41, {},                          false},
    {"Form1", "Label20",     "label",            "Picture2",         0,   2520,    855,    495,  40, {},                          false},
    {"Form1", "Label19",     "label",            "Picture2",      1680,   1920,    735,    495,  39, {},                          false},
    {"Form1", "Label18",     "label",            "Picture2",       120,   1920,    735,    495,  38, {},                          false},
    {"Form1", "Label17",     "label",            "Picture2",      1560,   1440,    855,    495,  37, {},                          false},
    {"Form1", "Label16",     "label",            "Picture2",       120,   1440,    735,    495,  36, {},                          false},
    {"Form1", "Label15",     "label",            "Picture2",      1560,    960,    855,    495,  35, {},                          false},
    {"Form1", "Label14",     "label",            "Picture2",       120,    960,    735,    495,  34, {},                          false},
    {"Form1", "Label13",     "label",            "Picture2",      1680,    480,    735,    495,  33, {},                          false},
    {"Form1", "Label12",     "label",            "Picture2",       120,    480,    735,    495,  32, {},                          false},
    {"Form1", "Picture5",    "picture box",      "",             12120,   6840,   3135,   4695,  20, {},                          false},
    {"Form1", "Label45",     "label",            "Picture5",       720,    480,    735,    495,  72, {},                          false},
    {"Form1", "Label44",     "label",            "Picture5",      2280,    480,    735,    495,  71, {},                          false},
    {"Form1", "Label43",     "label",            "Picture5",       720,    960,    735,    495,  70, {},                          false},
    {"Form1", "Label42",     "label",            "Picture5",      2160,    960,    855,    495,  69, {},                          false},
    {"Form1", "Label41",     "label",            "Picture5",       720,   1440,    735,    495,  68, {},                          false},
    {"Form1", "Label40",     "label",            "Picture5",      2160,   1440,    855,    495,  67, {},                          false},
    {"Form1", "Label39",     "label",            "Picture5",       720,   1920,    735,    495,  66, {},                          false},
    {"Form1", "Label38",     "label",            "Picture5",      2280,   1920,    735,    495,  65, {},                          false},
    {"Form1", "Label37",     "label",            "Picture5",       600,   2520,    855,    495,  64, {},                          false},
    {"Form1", "Label36",     "label",            "Picture5",      2160,   2520,    855,    495,  63, {},                          false},
    {"Form1", "Label35",     "label",            "Picture5",       720,   3120,    735,    375,  62, {},                          false},
    {"Form1", "Label34",     "label",            "Picture5",      2280,   3120,    735,    375,  61, {},                          false},
    {"Form1", "Label33",     "label",            "Picture5",       720,   3600,    735,    375,  60, {},                          false},
    {"Form1", "Label32",     "label",            "Picture5",       720,   4080,    615,    375,  59, {},                          false},
    {"Form1", "Label31",     "label",            "Picture5",      2280,   3600,    735,    375,  58, {},                          false},
    {"Form1", "Label30",     "label",            "Picture5",      2280,   4080,    735,    375,  57, {},                          false},
    {"Form1", "Label28",     "label",            "Picture5",         0,    960,    615,    615,  56, {},                          false},
    {"Form1", "Line5",       "line",             "",             11160,    360,  11160,      0,  -1, {},                          false},
    {"Form1", "Line4",       "line",             "",             14880,    360,      0,    360,  -1, {},                          false},
    {"Form1", "Line3",       "line",             "",             15240,    360,  15240,      0,  -1, {},                          false},
    {"Form1", "Line2",       "line",             "",             14880,    360,  15240,    360,  -1, {},                          false},
    {"Form1", "Line1",       "line",             "",             14880,      0,  14880,    360,  -1, {},                          false},
    {"Form1", "Label6",      "label",            "",             11760,      0,   2895,    375,  14, {"MS Sans Serif", 12, 700},  false},
    {"Form1", "Label2",      "label",            "",             15000,      0,    375,    375,   0, {"Arial", 18, 400},          false},
    {"Form1", "Label29",     "label",            "",                 0,      0,  11175,    375,  73, {"MS Sans Serif", 13.5, 400}, false},
};

// Every text the user can read, transcribed apart from the tables: the
// windows' captions (the control "" is the window), the labels' and
// buttons' captions and the text boxes' texts. A control not listed has
// none. The web site's host name is the one word chosen for the program.
#define SITE "velk.example"
const struct
{
    const char *form, *control, *text;
} Texts[] = {
    {"Form2", "", "VELK-Simulator Version 1"},
    {"Form2", "Command2", "I Do Not Agree"},
    {"Form2", "Command1", "I Agree"},
    {"Form2", "Text1", "WARNING!!\r\n\r\nThis is not a new version of the VELK-Simulator!\r\n"
                      "This is the first one! NEVER released to the public before!\r\n"
                      "But this is the project that gave me the idea of creating a talking VELK!\r\n\r\n"
                      "So enjoy this special release ;)\r\n\r\n"
                      "NOTE: You cannot expect much from this release, it just shows you the beginning.\r\n"},
    {"Form2", "Label3", "Looking for info or the latest version? Visit: " SITE},
    {"Form2", "Label2", "This is a program created by: Tovek Marrin AKA Dravimok"},
    {"Form2", "Label1", "Disclaimer:"},
    {"Form1", "", "Form1"},
    {"Form1", "Label7", "Label7"},
    {"Form1", "Label10", "000"},
    {"Form1", "Label11", "000"},
    {"Form1", "Text1", "Off"},
    {"Form1", "Text2", "CPU Status:"},
    {"Form1", "Label29", "    Push The Buttons!           >>>          " SITE "           >>"},
    {"Form1", "Label6", "Tovek's VELK Simulator"},
    {"Form1", "Label2", "X"},
};
#undef SITE

} // namespace

class tst_WindowTables : public QObject
{
    Q_OBJECT

private slots:
    void asDesigned_data();
    void asDesigned();
    void nothingUndesigned();
    void texts_data();
    void texts();
};

static const runtime::FormDescription &formNamed(const QByteArray &name)
{
    return name == "Form1" ? dashboardForm() : disclaimerForm();
}

void tst_WindowTables::asDesigned_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("listed");  // place among the window's rows
    int listed = 0;
    const char *form = "";
    for (int i = 0; i < int(std::size(Layout)); ++i) {
        listed = qstrcmp(form, Layout[i].form) ? 0 : listed + 1;
        form = Layout[i].form;
        QTest::addRow("%s %s", Layout[i].form, Layout[i].name) << i << listed;
    }
}

void tst_WindowTables::asDesigned()
{
    QFETCH(int, at);
    QFETCH(int, listed);
    const Designed &want = Layout[at];
    const runtime::FormDescription &form = formNamed(want.form);
    QVERIFY(size_t(listed) < form.controls.size());
    const runtime::ControlRow &row = form.controls[size_t(listed)];
    QCOMPARE(row.name, want.name);
    QCOMPARE(runtime::kindInfo(row.kind)->name, want.kind);
    QCOMPARE(row.container, want.container);
    QCOMPARE(QList<int>({row.left, row.top, row.width, row.height}),
             QList<int>({want.left, want.top, want.width, want.height}));
    QCOMPARE(row.settings.tabIndex, want.tabIndex);
    QCOMPARE(row.settings.font.face ? row.settings.font.face : "", want.font.face ? want.font.face : "");
    QCOMPARE(row.settings.font.points, want.font.points);
    QCOMPARE(row.settings.font.face ? row.settings.font.weight : 0, want.font.face ? want.font.weight : 0);
    QCOMPARE(row.settings.hidden, want.hidden);
}

void tst_WindowTables::nothingUndesigned()
{
    for (const char *name : {"Form1", "Form2"}) {
        const auto designed = std::count_if(std::begin(Layout), std::end(Layout),
                                            [name](const Designed &d) { return qstrcmp(d.form, name) == 0; });
        QCOMPARE(formNamed(name).controls.size(), size_t(designed));
    }
}

void tst_WindowTables::texts_data()
{
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<int>("row");  // -1: the window's caption
    for (const char *form : {"Form2", "Form1"}) {
        QTest::addRow("%s caption", form) << QByteArray(form) << -1;
        for (size_t r = 0; r < formNamed(form).controls.size(); ++r)
            QTest::addRow("%s %s", form, formNamed(form).controls[r].name) << QByteArray(form) << int(r);
    }
}

void tst_WindowTables::texts()
{
    QFETCH(QByteArray, form);
    QFETCH(int, row);
    const runtime::FormDescription &d = formNamed(form);
    const char *name = row < 0 ? "" : d.controls[size_t(row)].name;
    const char *has = row < 0 ? d.window.caption : d.controls[size_t(row)].settings.caption;
    if (row >= 0 && !has)
        has = d.controls[size_t(row)].settings.text;
    const auto want = std::find_if(std::begin(Texts), std::end(Texts),
                                   [&](const auto &t) { return form == t.form && qstrcmp(name, t.control) == 0; });
    QCOMPARE(QByteArray(has), QByteArray(want == std::end(Texts) ? nullptr : want->text));
}

QTEST_APPLESS_MAIN(tst_WindowTables)
#include "tst_windowtables.moc"
