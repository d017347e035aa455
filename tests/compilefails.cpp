// Mistakes that must stop the build, not the program: compiled three
// times by ctest, once sound (it must compile) and once with each mistake
// (it must not).
#include "description/control.h"
#include "description/kinds.h"

using namespace runtime;

constexpr ControlRow Rows[] = {{Kind::Label, "Label1", "", 0, 0, 15, 15}};
consteval Control control(std::string_view name) { return controlIn(Rows, name); }

#ifdef MISSPELT_CONTROL
constexpr Control named = control("Lable1");
#else
constexpr Control named = control("Label1");
#endif

// A backend's control classes, one short when it lacks a kind.
struct Base
{
    virtual ~Base() = default;
};
template <int>
struct Made : Base
{
    explicit Made(int) {}
};
#ifdef MISSING_MAKER
using Classes = ControlClasses<Made<0>, Made<1>, Made<2>, Made<3>, Made<4>, Made<5>>;
#else
using Classes = ControlClasses<Made<0>, Made<1>, Made<2>, Made<3>, Made<4>, Made<5>, Made<6>>;
#endif

int main() { return named.row + (Classes::make<Base>(Kind::Label, 1) ? 0 : 1); }
