// The text canvas and the graphic plane as GDI memory device contexts: the
// Windows side of the platform's canvas calls. The front end forwards its
// Platform's ResizeTextCanvas, MeasureFont, DrawText, FillRect, CopyRect and
// SetPixel here and copies the canvases to the window with GdiCanvasDc.
#pragma once

#include <windows.h>

#include <cstdint>

#include "terminal/model/roles.h"

// Both canvases compatible with the window's device context: the graphic plane
// 640 x 480, white; the text canvas empty until GdiResizeTextCanvas.
bool CreateGdiCanvases(HWND window);
void DestroyGdiCanvases();

void GdiResizeTextCanvas(int width, int height);
FontMetrics GdiMeasureFont(const FontSpec& font);
// Every two bytes are one character cell, at x + 2 × cell width × i, drawn as if
// each were drawn alone with TextOutA; a run is one call when the font makes
// that identical.
void GdiDrawText(Canvas canvas, int x, int y, const std::uint8_t* bytes, int length,
                 const FontSpec& font, COLORREF fg, COLORREF bg);
void GdiFillRect(Canvas canvas, int x, int y, int width, int height, COLORREF colour);
void GdiCopyRect(Canvas canvas, int toX, int toY, int width, int height, int fromX, int fromY);
void GdiSetPixel(Canvas canvas, int x, int y, COLORREF colour);
// The platform's DrawsCellsExactly: a fixed-pitch, upright font without
// overhang whose characters are two cells wide and one cell high.
bool GdiDrawsCellsExactly(const FontSpec& font);

// The memory device context of a canvas, to BitBlt from.
HDC GdiCanvasDc(Canvas canvas);
// The font made from a description, for example appliedFontSpec (draw_queue.h)
// for the dump view. Owned by the canvas: valid until the next canvas call.
HFONT GdiFont(const FontSpec& font);
