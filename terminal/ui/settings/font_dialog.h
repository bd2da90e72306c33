// The font dialog of the line settings dialog, on Windows.
#pragma once

#include <windows.h>

#include "terminal/model/terminal_state.h"

// Runs the font dialog for fixed-pitch screen fonts with effects, starting from
// `font` and `colour`. On confirm both take the user's choice and the result
// is true; on cancel neither changes.
bool ChooseTerminalFont(HWND owner, FontSpec& font, COLORREF& colour);
