// The replay's report: events, the screen rows, the cursor and the style.
#pragma once

#include <cstdint>
#include <string>

#include "terminal/native/native_platform.h"

std::string ReplayReport(const HeadlessTerminal& terminal);

// One screen row as UTF-8 without its trailing blanks (U+0020, U+3000).
std::string ScreenRowText(const TerminalState& state, int row);

// The same for the ScreenColumns code page 932 bytes of a row.
std::string CellRowText(const std::uint8_t* row);
