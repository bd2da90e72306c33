// The text canvas of a terminal that a tool drives without a window, as far
// as the picture of its text screen needs one. The terminal draws on it
// through its Drawing role; WriteTextPicture (text_picture.h) then makes the
// picture of the screen.
//
// On Linux nothing is drawn: the picture is made from the terminal's record
// in the window's font (a scroll of a drawn canvas would copy megabytes for
// every line), and fonts are measured as the native roles measure them. In
// the Windows builds this is the window's own GDI text canvas, measured and
// drawn by GDI exactly as the window draws it, so that the picture is the
// window's pixels.
#pragma once

#include <cstdint>

#include "terminal/model/roles.h"

class ScreenCanvas final : public Drawing {
 public:
  ScreenCanvas();
  ~ScreenCanvas() override;
  ScreenCanvas(const ScreenCanvas&) = delete;
  ScreenCanvas& operator=(const ScreenCanvas&) = delete;

  void ResizeTextCanvas(int width, int height) override;
  FontMetrics MeasureFont(const FontSpec& font) override;
  void DrawText(int x, int y, const std::uint8_t* bytes, int length, const FontSpec& font, COLORREF fg,
                COLORREF bg) override;
  void FillRect(int x, int y, int width, int height, COLORREF colour) override;
  void CopyRect(int toX, int toY, int width, int height, int fromX, int fromY) override;
  bool DrawsCellsExactly(const FontSpec& font) override;
};
