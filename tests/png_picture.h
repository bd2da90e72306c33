// Pictures the tools write, read back for their pixels.
#pragma once

#include <png.h>

#include <string>
#include <vector>

using Rgb = std::vector<int>;
const Rgb Black{0, 0, 0};
const Rgb White{255, 255, 255};

// An RGB picture read back from a PNG file; empty when it cannot be read.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<png_byte> pixels;
  Rgb At(int x, int y) const {
    const png_byte* p = &pixels[(std::size_t(y) * width + x) * 3];
    return Rgb{p[0], p[1], p[2]};
  }
};

Picture ReadPng(const std::string& path);
