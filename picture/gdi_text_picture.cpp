#include <windows.h>

#include <vector>

#include "picture/png_writer.h"
#include "picture/screen_picture.h"
#include "terminal/native/raster.h"
#include "terminal/ui/gdi_canvas.h"

namespace {

// The rows' pixels of the text canvas, top-down, as COLORREF (0x00BBGGRR).
bool CanvasPixels(int top, int width, int height, Raster& picture) {
  HDC dc = GdiTextCanvasDc();
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> rows(std::size_t(width) * std::size_t(height));
  // GetDIBits reads whole bitmap rows from its bottom; a copy of the rows
  // wanted, at the top of a bitmap of their own size, is read instead.
  HDC copyDc = CreateCompatibleDC(dc);
  HBITMAP copy = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ previous = SelectObject(copyDc, copy);
  const bool copied = BitBlt(copyDc, 0, 0, width, height, dc, 0, top, SRCCOPY) != 0;
  SelectObject(copyDc, previous);
  const bool read = copied && GetDIBits(copyDc, copy, 0, UINT(height), rows.data(), &info, DIB_RGB_COLORS) == height;
  DeleteObject(copy);
  DeleteDC(copyDc);
  ResizeRaster(picture, width, height, RasterWhite);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DWORD bgr = rows[i];
    picture.pixels[i] = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
  }
  return read;
}

}  // namespace

bool WriteTextPicture(const std::string& path, const ScreenModel& model, RowRange rows, std::string& error) {
  const int cellWidth = model.state.cellWidth;
  const int cellHeight = model.state.cellHeight;
  Raster picture;
  if (!CanvasPixels(rows.first * cellHeight, cellWidth * ScreenColumns, cellHeight * (rows.last - rows.first + 1),
                    picture)) {
    error = "cannot read the text canvas";
    return false;
  }
  if (model.state.connected) {
    InvertRaster(picture, model.state.cursorCol * cellWidth, (model.state.cursorRow - rows.first) * cellHeight,
                 cellWidth, cellHeight);
  }
  if (WritePng(path, picture)) return true;
  error = "cannot write " + path;
  return false;
}
