#pragma once

#include "description/description.h"

// Form2, the disclaimer shown at start-up: agreeing opens the dashboard,
// declining ends the program.
const runtime::FormDescription &disclaimerForm();
