// The disclaimer window, Form2, as its designer laid it out, and its two
// button handlers. Labels and the line lie behind the buttons and the text
// box; the warning text has the focus when the window first shows.
#include "disclaimerform.h"
#include "form/form.h"

using namespace runtime;

namespace {

const char Warning[] =
    "WARNING!!\r\n"
    "\r\n"
    "This is not a new version of the VELK-Simulator!\r\n"
    "This is the first one! NEVER released to the public before!\r\n"
    "But this is the project that gave me the idea of creating a talking VELK!\r\n"
    "\r\n"
    "So enjoy this special release ;)\r\n"
    "\r\n"
    "NOTE: You cannot expect much from this release, it just shows you the beginning.\r\n";

const char Info[] = "Looking for info or the latest version? Visit: velk.example";
const char Author[] = "This is a program created by: Tovek Marrin AKA Dravimok";

constexpr Font Bold(double points) { return {"MS Sans Serif", points, 700}; }

const ControlRow Controls[] = {
    // kind                 name        in  left  top   width height settings
    {Kind::CommandButton, "Command2", "", 3360, 2520, 1455,  495, {.caption = "I Do Not Agree", .tabIndex = 3}},
    {Kind::CommandButton, "Command1", "",  120, 2520, 1455,  495, {.caption = "I Agree", .tabIndex = 2}},
    {Kind::TextBox,       "Text1",    "",  120,  480, 4695, 1935, {.text = Warning, .multiLine = true, .tabIndex = 1, .accessible = {"Warning"}}},
    {Kind::Line,          "Line1",    "",  120, 3120, 4800, 3120},
    {Kind::Label,         "Label3",   "",  120, 3600, 4695,  375, {.caption = Info, .font = Bold(8.25), .align = Align::Center, .tabIndex = 5}},
    {Kind::Label,         "Label2",   "",  120, 3240, 4695,  255, {.caption = Author, .tabIndex = 4}},
    {Kind::Label,         "Label1",   "",  120,  120, 4695,  375, {.caption = "Disclaimer:", .font = Bold(13.5), .align = Align::Center, .tabIndex = 0}},
};

// "I Agree": the disclaimer goes first, then the dashboard loads and shows.
void Command1_Click(Form &me)
{
    me.hideForm("Form2");
    me.showForm("Form1");
}

// "I Do Not Agree"
void Command2_Click(Form &me)
{
    me.unloadForm("Form2");
    me.end();
}

const Handler Handlers[] = {
    {"Command1_Click", Command1_Click},
    {"Command2_Click", Command2_Click},
};

} // namespace

const FormDescription &disclaimerForm()
{
    static const FormDescription form{
        {.name = "Form2", .caption = "VELK-Simulator Version 1", .clientWidth = 4860, .clientHeight = 4050,
         .icon = "appicon"},
        Controls, Handlers};
    return form;
}
