// The replay's report: events, the screen rows, the cursor and the style.
#pragma once

#include <string>

#include "terminal/native/native_platform.h"

std::string ReplayReport(const NativeTerminal& terminal);

// One screen row as UTF-8 without its trailing blanks (U+0020, U+3000).
std::string ScreenRowText(const TerminalState& state, int row);
