#include "picture/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// Row-major COLORREF pixels, `width` a row.
bool WritePixels(const std::string& path, int width, int height, const COLORREF* pixels) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(std::size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = pixels[std::size_t(y) * width + x];
      row[std::size_t(x) * 3] = png_byte(colour & 0xFF);
      row[std::size_t(x) * 3 + 1] = png_byte((colour >> 8) & 0xFF);
      row[std::size_t(x) * 3 + 2] = png_byte((colour >> 16) & 0xFF);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace

bool WritePng(const std::string& path, const Raster& raster) {
  return WritePixels(path, raster.width, raster.height, raster.pixels.data());
}

bool WritePng(const std::string& path, const GraphicPlane& plane) {
  return WritePixels(path, GraphicWidth, GraphicHeight, plane.Pixels().data());
}
