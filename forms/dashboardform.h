#pragma once

#include "description/description.h"

// Form1, the dashboard: two instrument panels, two button consoles, the
// central display and the click zones over the painted buttons.
const runtime::FormDescription &dashboardForm();

// The voice-box animation, looked for beside the executable unless the
// command line names another file.
inline constexpr char VoiceBoxFile[] = "velk voicebox.gif";
inline constexpr char VoiceBoxOption[] = "voice-box";
