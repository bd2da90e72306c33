#include "terminal/native/raster.h"

#include <algorithm>
#include <cstring>

void ResizeRaster(Raster& raster, int width, int height, COLORREF colour) {
  raster.width = std::max(width, 0);
  raster.height = std::max(height, 0);
  raster.pixels.assign(std::size_t(raster.width) * std::size_t(raster.height), colour);
}

COLORREF RasterPixel(const Raster& raster, int x, int y) {
  if (x < 0 || y < 0 || x >= raster.width || y >= raster.height) return RasterWhite;
  return raster.pixels[std::size_t(y) * raster.width + x];
}

void SetRasterPixel(Raster& raster, int x, int y, COLORREF colour) {
  if (x < 0 || y < 0 || x >= raster.width || y >= raster.height) return;
  raster.pixels[std::size_t(y) * raster.width + x] = colour;
}

void FillRaster(Raster& raster, int x, int y, int width, int height, COLORREF colour) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const long right = std::min<long>(long(x) + width, raster.width);
  const long bottom = std::min<long>(long(y) + height, raster.height);
  if (left >= right || top >= bottom) return;
  for (long row = top; row < bottom; ++row) {
    COLORREF* line = raster.pixels.data() + std::size_t(row) * raster.width;
    std::fill(line + left, line + right, colour);
  }
}

void CopyRaster(Raster& raster, int toX, int toY, int width, int height, int fromX, int fromY) {
  // Clip the rectangle so that both its source and its target lie inside.
  int dx = 0;
  int dy = 0;
  if (toX < 0) dx = std::max(dx, -toX);
  if (fromX < 0) dx = std::max(dx, -fromX);
  if (toY < 0) dy = std::max(dy, -toY);
  if (fromY < 0) dy = std::max(dy, -fromY);
  toX += dx; fromX += dx; width -= dx;
  toY += dy; fromY += dy; height -= dy;
  width = std::min({width, raster.width - toX, raster.width - fromX});
  height = std::min({height, raster.height - toY, raster.height - fromY});
  if (width <= 0 || height <= 0) return;
  const auto copyRow = [&](int row) {
    std::memmove(raster.pixels.data() + std::size_t(toY + row) * raster.width + toX,
                 raster.pixels.data() + std::size_t(fromY + row) * raster.width + fromX,
                 std::size_t(width) * sizeof(COLORREF));
  };
  if (toY <= fromY) {
    for (int row = 0; row < height; ++row) copyRow(row);
  } else {
    for (int row = height - 1; row >= 0; --row) copyRow(row);
  }
}

void InvertRaster(Raster& raster, int x, int y, int width, int height) {
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) {
      SetRasterPixel(raster, column, row, RasterPixel(raster, column, row) ^ RasterWhite);
    }
  }
}
