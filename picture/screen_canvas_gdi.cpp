#include "picture/screen_canvas.h"

#include "terminal/ui/gdi_canvas.h"

// <windows.h> names DrawText DrawTextA; the drawing role's method keeps its own name.
#undef DrawText

// The canvases are made compatible with the screen, as there is no window.
ScreenCanvas::ScreenCanvas() { CreateGdiCanvases(nullptr); }
ScreenCanvas::~ScreenCanvas() { DestroyGdiCanvases(); }

void ScreenCanvas::ResizeTextCanvas(int width, int height) { GdiResizeTextCanvas(width, height); }
FontMetrics ScreenCanvas::MeasureFont(const FontSpec& font) { return GdiMeasureFont(font); }
void ScreenCanvas::DrawText(int x, int y, const std::uint8_t* bytes, int length, const FontSpec& font, COLORREF fg,
                            COLORREF bg) {
  GdiDrawText(x, y, bytes, length, font, fg, bg);
}
void ScreenCanvas::FillRect(int x, int y, int width, int height, COLORREF colour) {
  GdiFillRect(x, y, width, height, colour);
}
void ScreenCanvas::CopyRect(int toX, int toY, int width, int height, int fromX, int fromY) {
  GdiCopyRect(toX, toY, width, height, fromX, fromY);
}
bool ScreenCanvas::DrawsCellsExactly(const FontSpec& font) { return GdiDrawsCellsExactly(font); }
