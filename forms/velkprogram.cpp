#include "velkprogram.h"
#include "dashboardform.h"
#include "disclaimerform.h"

const runtime::Program &velkProgram()
{
    static const runtime::FormDescription *const forms[] = {&disclaimerForm(), &dashboardForm()};
    static const runtime::Option options[] = {
        {VoiceBoxOption, "FILE", "Show FILE in the voice box, in place of the animation beside the program."},
    };
    static const runtime::Program program{
        .name = "VELK-Simulator",
        .desktopId = "example.velk.Simulator",
        .version = VELK_VERSION,
        .summary = "An interactive night-time car dashboard.",
        .forms = forms,
        .startForm = "Form2",
        .options = options,
    };
    return program;
}
