#include "picture/screen_canvas.h"

#include "terminal/native/native_platform.h"

namespace {

// The native roles' measures (no canvas of theirs is drawn on).
NativePlatform& Measures() {
  static NativePlatform measures;
  return measures;
}

}  // namespace

ScreenCanvas::ScreenCanvas() = default;
ScreenCanvas::~ScreenCanvas() = default;

void ScreenCanvas::ResizeTextCanvas(int, int) {}
FontMetrics ScreenCanvas::MeasureFont(const FontSpec& font) { return Measures().MeasureFont(font); }
void ScreenCanvas::DrawText(int, int, const std::uint8_t*, int, const FontSpec&, COLORREF, COLORREF) {}
void ScreenCanvas::FillRect(int, int, int, int, COLORREF) {}
void ScreenCanvas::CopyRect(int, int, int, int, int, int) {}
bool ScreenCanvas::DrawsCellsExactly(const FontSpec& font) { return Measures().DrawsCellsExactly(font); }
