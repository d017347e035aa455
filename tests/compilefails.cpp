// Mistakes that must stop the build, not the program: compiled three
// times by ctest, once sound (it must compile) and once with each mistake
// (it must not).
#include "control.h"
#include "kinds.h"

using namespace runtime;

constexpr ControlRow Rows[] = {{Kind::Label, "Label1", "", 0, 0, 15, 15}};
consteval Control control(std::string_view name) { return controlIn(Rows, name); }

#ifdef MISSPELT_CONTROL
constexpr Control named = control("Lable1");
#else
constexpr Control named = control("Label1");
#endif

// A backend's table by kind, one row short when it lacks a kind.
struct Maker
{
    Kind kind;
};
constexpr Maker Makers[] = {
    {Kind::PictureBox}, {Kind::Label}, {Kind::TextBox}, {Kind::CommandButton}, {Kind::Line}, {Kind::Timer},
#ifndef MISSING_MAKER
    {Kind::BrowserView},
#endif
};
static_assert(coversEveryKind(Makers));

int main() { return named.row; }
