// The dashboard window, Form1: its 80 controls as the designer listed them
// (front-most first within each container) and its handlers. All state
// lives in the controls: the power state is Text1's text, the display is
// whichever display picture is visible, a lamp is lit when it is visible.
#include "dashboardform.h"
#include "description/control.h"
#include "form/form.h"

#include <string>
#include <string_view>

using namespace runtime;

namespace {

constexpr Colour Black = rgb(0x000000);
constexpr Colour Red = rgb(0xFF0000);

// A lit lamp over a console socket; hidden, it is dark and the socket shows.
constexpr Settings lamp(int tab, const char *name)
{
    return {.picture = "lamplit", .back = Black, .border = Border::Flat, .hidden = true, .tabIndex = tab,
            .accessible = {name, "lit", "dark"}};
}
// An invisible click zone over a painted button, named for a screen reader
// by what it does; the round button that does nothing goes unnamed.
constexpr Settings zone(int tab, const char *name = nullptr)
{
    return {.transparent = true, .tabIndex = tab, .accessible = {name}};
}
constexpr Settings panel(const char *picture, int tab, const char *name)
{
    return {.picture = picture, .back = Black, .border = Border::Flat, .tabIndex = tab, .accessible = {name}};
}
// The display pictures stand on one spot and are read as one display.
constexpr Accessible Display(const char *shows, const char *blank = nullptr) { return {"Central display", shows, blank}; }
constexpr Settings display(const char *picture, int tab, const char *shows)
{
    return {.picture = picture, .back = WindowBackground, .border = Border::Flat, .hidden = true, .tabIndex = tab,
            .accessible = Display(shows)};
}
constexpr Settings readout(Font font, int tab, const char *name)
{
    return {.caption = "000", .back = Black, .fore = Red, .font = font, .align = Align::Center, .tabIndex = tab,
            .accessible = {name}};
}
constexpr Settings source(Font font, int tab)
{
    return {.back = Black, .fore = Red, .font = font, .align = Align::Center, .border = Border::Flat,
            .hidden = true, .readOnly = true, .tabIndex = tab};
}
constexpr Settings status(const char *text, int tab, const char *name = nullptr)
{
    return {.text = text, .back = Black, .fore = Red, .readOnly = true, .tabIndex = tab, .accessible = {name}};
}
constexpr Settings topBar(const char *caption, Font font, int tab, const char *name = nullptr)
{
    return {.caption = caption, .back = Black, .fore = Red, .font = font, .tabIndex = tab, .accessible = {name}};
}
constexpr Settings redLine() { return {.fore = Red}; }

const char Banner[] = "    Push The Buttons!           >>>          velk.example           >>";

constexpr ControlRow Controls[] = {
    // kind               name           container      left   top  width height  settings
    {Kind::PictureBox,  "Picture21",   "",           13800,  7440,  375,  255, lamp(55, "Right console lamp 1")},
    {Kind::PictureBox,  "Picture20",   "",           13800,  7920,  375,  255, lamp(54, "Right console lamp 2")},
    {Kind::PictureBox,  "Picture19",   "",           13800,  8400,  375,  255, lamp(53, "Right console lamp 3")},
    {Kind::PictureBox,  "Picture18",   "",           13800,  8880,  375,  255, lamp(52, "Right console lamp 4")},
    {Kind::PictureBox,  "Picture17",   "",           13800,  9600,  375,  255, lamp(51, "Right console lamp 5")},
    {Kind::PictureBox,  "Picture16",   "",           13800,  9960,  360,  375, lamp(50, "Right console lamp 6")},
    {Kind::PictureBox,  "Picture15",   "",           13800, 10440,  375,  375, lamp(49, "Right console lamp 7")},
    {Kind::PictureBox,  "Picture12",   "",           13800, 10920,  375,  375, lamp(48, "Right console lamp 8")},
    {Kind::PictureBox,  "Picture14",   "",            1320, 11040,  375,  375, lamp(31, "Left console lamp 8")},
    {Kind::PictureBox,  "Picture13",   "",            1320, 10560,  375,  375, lamp(30, "Left console lamp 7")},
    {Kind::PictureBox,  "Picture11",   "",            1320, 10080,  360,  375, lamp(29, "Left console lamp 6")},
    {Kind::PictureBox,  "Picture10",   "",            1320,  9720,  375,  255, lamp(28, "Left console lamp 5")},
    {Kind::PictureBox,  "Picture9",    "",            1320,  9000,  375,  255, lamp(27, "Left console lamp 4")},
    {Kind::PictureBox,  "Picture8",    "",            1320,  8520,  375,  255, lamp(26, "Left console lamp 3")},
    {Kind::PictureBox,  "Picture7",    "",            1320,  8040,  375,  255, lamp(25, "Left console lamp 2")},
    {Kind::PictureBox,  "Picture6",    "",            1320,  7560,  375,  255, lamp(24, "Left console lamp 1")},
    {Kind::Timer,       "Timer1",      "",               0,     0,    0,    0, {.interval = 1}},
    {Kind::TextBox,     "Text4",       "",           10080,  5640, 1455,  690, source({"Arial", 26.25, 700}, 19)},
    {Kind::TextBox,     "Text2",       "",            6000,  6840,  975,  285, status("CPU Status:", 10)},
    {Kind::TextBox,     "Text1",       "",            6960,  6840,  495,  285, status("Off", 9, "CPU status")},
    {Kind::PictureBox,  "velkpursuit", "",            5280,  3960, 2655, 2895, display("modepursuit", 7, "pursuit picture")},
    {Kind::Label,       "Label7",      "velkpursuit",  240,  2880, 2535,   15, {.caption = "Label7", .tabIndex = 15, .accessible = {"Voice box, strip below the pursuit picture"}}},
    {Kind::PictureBox,  "velkauto",    "",            5280,  3960, 2775, 2895, display("modeauto", 6, "auto picture")},
    {Kind::PictureBox,  "velknormall", "",            5280,  3960, 2775, 2895, display("modenormal", 5, "normal picture")},
    {Kind::PictureBox,  "Picture1",    "",            5400,  3960, 2535, 2895, {.back = Black, .border = Border::Flat, .hidden = true, .tabIndex = 1, .accessible = Display("voice box", "nothing")}},
    {Kind::BrowserView, "WebBrowser1", "Picture1",    -240,  -360, 3735, 5175, {.tabIndex = 2, .accessible = {"Voice box animation"}}},
    {Kind::PictureBox,  "Picture4",    "",            7920,  3840, 7455, 3135, panel("rightpanel", 4, "Right instrument panel")},
    {Kind::Label,       "Label11",     "Picture4",    1920,   720, 1455,  735, readout({"Arial", 26.25, 400}, 23, "Engine speed readout")},
    {Kind::Label,       "Label9",      "Picture4",    5880,  1080, 1335,  375, zone(17, "Voice box")},
    {Kind::Label,       "Label5",      "Picture4",    6960,  2040,  375,  855, zone(13, "Pursuit")},
    {Kind::Label,       "Label4",      "Picture4",    6120,  2040,  375,  855, zone(12, "Auto")},
    {Kind::Label,       "Label3",      "Picture4",    5280,  2040,  375,  855, zone(11, "Normal")},
    {Kind::Label,       "Label1",      "Picture4",    4440,  2040,  495,  855, {.back = WindowBackground, .fore = WindowText, .transparent = true, .tabIndex = 8, .accessible = {"Power"}}},
    {Kind::PictureBox,  "Picture3",    "",           -1800,  3720, 7575, 3135, panel("leftpanel", 3, "Left instrument panel")},
    {Kind::TextBox,     "Text3",       "Picture3",    5400,  1920, 1455,  735, source({"Arial", 27.75, 400}, 18)},
    {Kind::Label,       "Label10",     "Picture3",    4920,   720, 1575,  855, readout({"Arial", 27.75, 400}, 22, "Speed readout")},
    {Kind::Label,       "Label8",      "Picture3",    4560,  1920, 2535,  375, zone(16, "Voice box, left panel buttons")},
    {Kind::PictureBox,  "Picture2",    "",             240,  6960, 2655, 4575, panel("leftconsole", 21, "Left console")},
    {Kind::Label,       "Label27",     "Picture2",    1680,  4080,  735,  375, zone(47, "Left console lamp 8, right button")},
    {Kind::Label,       "Label26",     "Picture2",    1680,  3600,  735,  375, zone(46, "Left console lamp 7, right button")},
    {Kind::Label,       "Label25",     "Picture2",     120,  4080,  615,  375, zone(45, "Left console lamp 8, left button")},
    {Kind::Label,       "Label24",     "Picture2",     120,  3600,  735,  375, zone(44, "Left console lamp 7, left button")},
    {Kind::Label,       "Label23",     "Picture2",    1680,  3120,  735,  375, zone(43, "Left console lamp 6, right button")},
    {Kind::Label,       "Label22",     "Picture2",     120,  3120,  735,  375, zone(42, "Left console lamp 6, left button")},
    {Kind::Label,       "Label21",     "Picture2",    1560,  2520,  855,  495, zone(41, "Left console lamp 5, right button")},
    {Kind::Label,       "Label20",     "Picture2",       0,  2520,  855,  495, zone(40, "Left console lamp 5, left button")},
    {Kind::Label,       "Label19",     "Picture2",    1680,  1920,  735,  495, zone(39, "Left console lamp 4, right button")},
    {Kind::Label,       "Label18",     "Picture2",     120,  1920,  735,  495, zone(38, "Left console lamp 4, left button")},
    {Kind::Label,       "Label17",     "Picture2",    1560,  1440,  855,  495, zone(37, "Left console lamp 3, right button")},
    {Kind::Label,       "Label16",     "Picture2",     120,  1440,  735,  495, zone(36, "Left console lamp 3, left button")},
    {Kind::Label,       "Label15",     "Picture2",    1560,   960,  855,  495, zone(35, "Left console lamp 2, right button")},
    {Kind::Label,       "Label14",     "Picture2",     120,   960,  735,  495, zone(34, "Left console lamp 2, left button")},
    {Kind::Label,       "Label13",     "Picture2",    1680,   480,  735,  495, zone(33, "Left console lamp 1, right button")},
    {Kind::Label,       "Label12",     "Picture2",     120,   480,  735,  495, zone(32, "Left console lamp 1, left button")},
    {Kind::PictureBox,  "Picture5",    "",           12120,  6840, 3135, 4695, panel("rightconsole", 20, "Right console")},
    {Kind::Label,       "Label45",     "Picture5",     720,   480,  735,  495, zone(72, "Right console lamp 1, left button")},
    {Kind::Label,       "Label44",     "Picture5",    2280,   480,  735,  495, zone(71, "Right console lamp 1, right button")},
    {Kind::Label,       "Label43",     "Picture5",     720,   960,  735,  495, zone(70, "Right console lamp 2, left button")},
    {Kind::Label,       "Label42",     "Picture5",    2160,   960,  855,  495, zone(69, "Right console lamp 2, right button")},
    {Kind::Label,       "Label41",     "Picture5",     720,  1440,  735,  495, zone(68, "Right console lamp 3, left button")},
    {Kind::Label,       "Label40",     "Picture5",    2160,  1440,  855,  495, zone(67, "Right console lamp 3, right button")},
    {Kind::Label,       "Label39",     "Picture5",     720,  1920,  735,  495, zone(66, "Right console lamp 4, left button")},
    {Kind::Label,       "Label38",     "Picture5",    2280,  1920,  735,  495, zone(65, "Right console lamp 4, right button")},
    {Kind::Label,       "Label37",     "Picture5",     600,  2520,  855,  495, zone(64, "Right console lamp 5, left button")},
    {Kind::Label,       "Label36",     "Picture5",    2160,  2520,  855,  495, zone(63, "Right console lamp 5, right button")},
    {Kind::Label,       "Label35",     "Picture5",     720,  3120,  735,  375, zone(62, "Right console lamp 6, left button")},
    {Kind::Label,       "Label34",     "Picture5",    2280,  3120,  735,  375, zone(61, "Right console lamp 6, right button")},
    {Kind::Label,       "Label33",     "Picture5",     720,  3600,  735,  375, zone(60, "Right console lamp 7, left button")},
    {Kind::Label,       "Label32",     "Picture5",     720,  4080,  615,  375, zone(59, "Right console lamp 8, left button")},
    {Kind::Label,       "Label31",     "Picture5",    2280,  3600,  735,  375, zone(58, "Right console lamp 7, right button")},
    {Kind::Label,       "Label30",     "Picture5",    2280,  4080,  735,  375, zone(57, "Right console lamp 8, right button")},
    {Kind::Label,       "Label28",     "Picture5",       0,   960,  615,  615, zone(56)},
    // lines: end points x1, y1, x2, y2
    {Kind::Line,        "Line5",       "",           11160,   360, 11160,    0, redLine()},
    {Kind::Line,        "Line4",       "",           14880,   360,     0,  360, redLine()},
    {Kind::Line,        "Line3",       "",           15240,   360, 15240,    0, redLine()},
    {Kind::Line,        "Line2",       "",           14880,   360, 15240,  360, redLine()},
    {Kind::Line,        "Line1",       "",           14880,     0, 14880,  360, redLine()},
    {Kind::Label,       "Label6",      "",           11760,     0, 2895,  375, topBar("Tovek's VELK Simulator", {"MS Sans Serif", 12, 700}, 14)},
    {Kind::Label,       "Label2",      "",           15000,     0,  375,  375, topBar("X", {"Arial", 18, 400}, 0, "Exit")},
    {Kind::Label,       "Label29",     "",               0,     0, 11175,  375, topBar(Banner, {"MS Sans Serif", 13.5, 400}, 73)},
};

// Every control a handler names is looked for here when compiling.
consteval Control control(std::string_view name) { return controlIn(Controls, name); }

const std::string On = "On";

// --- load and end ---

void Form_Load(Form &me)
{
    if (const std::string own = me.option(VoiceBoxOption); !own.empty()) {
        me.navigate(control("WebBrowser1"), own);
        return;
    }
    const std::string folder = me.appFolder();
    // A root folder already ends in a separator; don't double it.
    me.navigate(control("WebBrowser1"), folder.back() == PathSeparator ? folder + VoiceBoxFile
                                                              : folder + PathSeparator + VoiceBoxFile);
}

// However the dashboard goes (the exit zone, the window manager's close,
// Alt+F4), the program goes with it rather than run on without a window.
void Form_Unload(Form &me)
{
    me.end();
}

void Label2_Click(Form &me)
{
    me.unloadForm("Form1");
    me.end();
}

// --- power and display modes ---

void Label1_Click(Form &me)
{
    if (me.text(control("Text1")) == On) {
        me.setVisible(control("Picture1"), false);
        me.setVisible(control("velkauto"), false);
        me.setVisible(control("velkpursuit"), false);
        me.setVisible(control("velknormall"), false);
        me.setText(control("Text3"), "");
        me.setText(control("Text4"), "");
        me.setText(control("Text1"), "Off");
    } else {
        me.setVisible(control("velknormall"), true);
        me.setText(control("Text1"), On);
        me.setText(control("Text3"), "000");
        me.setText(control("Text4"), "000");
    }
}

// Shows one display picture while the power is on; each write is made
// whatever the picture's visibility already is.
void choose(Form &me, bool voiceBox, bool autoMode, bool normal, bool pursuit)
{
    if (me.text(control("Text1")) != On)
        return;
    me.setVisible(control("Picture1"), voiceBox);
    me.setVisible(control("velkauto"), autoMode);
    me.setVisible(control("velknormall"), normal);
    me.setVisible(control("velkpursuit"), pursuit);
}

void Label3_Click(Form &me) { choose(me, false, false, true, false); }
void Label4_Click(Form &me) { choose(me, false, true, false, false); }
void Label5_Click(Form &me) { choose(me, false, false, false, true); }
void Label7_Click(Form &me) { choose(me, true, false, false, false); }
void Label8_Click(Form &me) { choose(me, true, false, false, false); }
void Label9_Click(Form &me) { choose(me, true, false, false, false); }

// --- readouts ---

void Timer1_Timer(Form &me)
{
    me.setCaption(control("Label10"), me.text(control("Text3")));
    me.setCaption(control("Label11"), me.text(control("Text4")));
}

// --- console lamps: either button of a row flips that row's lamp ---

void flip(Form &me, Control lamp)
{
    me.setVisible(lamp, !me.visible(lamp));
}

#define LAMP_SWITCH(zone, lamp) {#zone "_Click", [](Form &me) { flip(me, control(#lamp)); }}

const Handler Handlers[] = {
    {"Form_Load", Form_Load},
    {"Form_Unload", Form_Unload},
    {"Label1_Click", Label1_Click},
    {"Label2_Click", Label2_Click},
    {"Label3_Click", Label3_Click},
    {"Label4_Click", Label4_Click},
    {"Label5_Click", Label5_Click},
    {"Label7_Click", Label7_Click},
    {"Label8_Click", Label8_Click},
    {"Label9_Click", Label9_Click},
    {"Timer1_Timer", Timer1_Timer},
    // left console, rows 1 to 8: left button, right button
    LAMP_SWITCH(Label12, Picture6),  LAMP_SWITCH(Label13, Picture6),
    LAMP_SWITCH(Label14, Picture7),  LAMP_SWITCH(Label15, Picture7),
    LAMP_SWITCH(Label16, Picture8),  LAMP_SWITCH(Label17, Picture8),
    LAMP_SWITCH(Label18, Picture9),  LAMP_SWITCH(Label19, Picture9),
    LAMP_SWITCH(Label20, Picture10), LAMP_SWITCH(Label21, Picture10),
    LAMP_SWITCH(Label22, Picture11), LAMP_SWITCH(Label23, Picture11),
    LAMP_SWITCH(Label24, Picture13), LAMP_SWITCH(Label26, Picture13),
    LAMP_SWITCH(Label25, Picture14), LAMP_SWITCH(Label27, Picture14),
    // right console, rows 1 to 8
    LAMP_SWITCH(Label45, Picture21), LAMP_SWITCH(Label44, Picture21),
    LAMP_SWITCH(Label43, Picture20), LAMP_SWITCH(Label42, Picture20),
    LAMP_SWITCH(Label41, Picture19), LAMP_SWITCH(Label40, Picture19),
    LAMP_SWITCH(Label39, Picture18), LAMP_SWITCH(Label38, Picture18),
    LAMP_SWITCH(Label37, Picture17), LAMP_SWITCH(Label36, Picture17),
    LAMP_SWITCH(Label35, Picture16), LAMP_SWITCH(Label34, Picture16),
    LAMP_SWITCH(Label33, Picture15), LAMP_SWITCH(Label31, Picture15),
    LAMP_SWITCH(Label32, Picture12), LAMP_SWITCH(Label30, Picture12),
};

#undef LAMP_SWITCH

} // namespace

const FormDescription &dashboardForm()
{
    static const FormDescription form{
        {.name = "Form1", .caption = "Form1", .clientWidth = 15360, .clientHeight = 11520, .borderless = true,
         .showInTaskbar = false, .start = StartPosition::CenterScreen, .back = Black,
         .accessibleName = "VELK Simulator dashboard"},
        Controls, Handlers};
    return form;
}
