// The text canvas and the window's copy of the graphic plane as GDI memory
// device contexts. The front end forwards its Drawing role's ResizeTextCanvas,
// MeasureFont, DrawText, FillRect and CopyRect here and copies the canvases to
// the window from GdiTextCanvasDc and GdiGraphicCanvasDc.
#pragma once

#include <windows.h>

#include <cstdint>

#include "terminal/model/graphic_plane.h"
#include "terminal/model/roles.h"

// Both canvases compatible with the window's device context: the graphic one
// 640 x 480, white as a new plane is; the text canvas empty until
// GdiResizeTextCanvas.
bool CreateGdiCanvases(HWND window);
void DestroyGdiCanvases();

void GdiResizeTextCanvas(int width, int height);
FontMetrics GdiMeasureFont(const FontSpec& font);
// Every two bytes are one character cell, at x + 2 × cell width × i, drawn as if
// each were drawn alone with TextOutA; a run is one call when the font makes
// that identical.
void GdiDrawText(int x, int y, const std::uint8_t* bytes, int length,
                 const FontSpec& font, COLORREF fg, COLORREF bg);
void GdiFillRect(int x, int y, int width, int height, COLORREF colour);
void GdiCopyRect(int toX, int toY, int width, int height, int fromX, int fromY);
// The platform's DrawsCellsExactly: a fixed-pitch, upright font without
// overhang whose characters are two cells wide and one cell high.
bool GdiDrawsCellsExactly(const FontSpec& font);

// The memory device contexts of the canvases, to BitBlt from. The graphic one
// is first brought up to date with the plane: what changed on it since the
// last call is copied in (the plane's damage is taken), so that the window
// shows the plane's pixels without copying all of them for every point.
HDC GdiTextCanvasDc();
HDC GdiGraphicCanvasDc(GraphicPlane& plane);
// The font made from a description, for example appliedFontSpec (draw_queue.h)
// for the dump view. Owned by the canvas: valid until the next canvas call.
HFONT GdiFont(const FontSpec& font);
