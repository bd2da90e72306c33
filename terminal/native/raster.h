// An in-memory bitmap of COLORREF pixels with the clipping rules of a device context.
#pragma once

#include <cstdint>
#include <vector>

#include "terminal/model/terminal_state.h"

struct Raster {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // row-major
};

constexpr COLORREF RasterWhite = 0xFFFFFF;

void ResizeRaster(Raster& raster, int width, int height, COLORREF colour);
COLORREF RasterPixel(const Raster& raster, int x, int y);  // white outside
void SetRasterPixel(Raster& raster, int x, int y, COLORREF colour);
void FillRaster(Raster& raster, int x, int y, int width, int height, COLORREF colour);
// Inverts every pixel of a rectangle: the solid caret of a byte cell, which
// the system draws so.
void InvertRaster(Raster& raster, int x, int y, int width, int height);
// Copies a rectangle within the raster; source and target may overlap.
void CopyRaster(Raster& raster, int toX, int toY, int width, int height, int fromX, int fromY);
