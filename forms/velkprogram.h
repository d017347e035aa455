#pragma once

#include "program/program.h"

// VELK-Simulator: the disclaimer comes first; agreeing opens the dashboard.
const runtime::Program &velkProgram();
