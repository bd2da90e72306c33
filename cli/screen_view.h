// The text screen as a script sees it: the 200 rows decoded from code page
// 932 to UTF-8 (without trailing blanks, as talvorix-replay prints them), the
// cursor and the view the window shows. Only rows whose bytes changed are
// decoded again, so that looking after every arrival stays cheap.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "terminal/model/terminal_state.h"

struct ScreenView {
  std::array<std::array<std::uint8_t, ScreenColumns>, ScreenRows> cells{};  // what the rows were decoded from
  std::array<std::string, ScreenRows> rows;  // well-formed UTF-8, as patterns take it
  int cursorRow = 0;
  int cursorCol = 0;  // in byte cells
  int tab = 0;        // 0 text, 1 dump, 2 graphic
};

// Brings the view up to the screen's ScreenCells bytes of code page 932.
void UpdateScreenRows(ScreenView& view, const std::uint8_t* screen);

// The rows from the first down to the last that is not blank (at least down
// to the cursor), each as "NNN|text", then "cursor ROW COL" and "tab N".
std::string ScreenListing(const ScreenView& view);
