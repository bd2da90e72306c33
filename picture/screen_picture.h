// The picture of the text screen as the window shows it, written as a PNG
// file: on Linux drawn from the terminal's record in IPAGothic
// (text_picture.cpp), in the Windows builds the pixels of the GDI text canvas
// the terminal has drawn on (screen_canvas.h, gdi_text_picture.cpp). Either
// way the caret inverts the byte cell at the cursor while connected.
#pragma once

#include <string>

#include "terminal/model/screen_model.h"

// Screen rows first to last, both counted from 0 and included.
struct RowRange {
  int first = 0;
  int last = ScreenRows - 1;
};

// Writes the picture of the rows at the size of the font the screen was
// measured with. False, with `error` telling why, when the font cannot be
// opened or the file not written.
bool WriteTextPicture(const std::string& path, const ScreenModel& model, RowRange rows, std::string& error);
