#include "velkprogram.h"
#include "dashboardform.h"
#include "disclaimerform.h"

const runtime::Program &velkProgram()
{
    static const runtime::FormDescription *const forms[] = {&disclaimerForm(), &dashboardForm()};
    static const runtime::Program program{"VELK-Simulator", "example.velk.Simulator", forms, "Form2"};
    return program;
}
