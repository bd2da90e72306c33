#include "terminal/model/graphic_plane.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr PlaneRect NoDamage{0, 0, 0, 0};

bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < GraphicWidth && y < GraphicHeight; }

}  // namespace

GraphicPlane::GraphicPlane() : pixels_(std::size_t(GraphicWidth) * GraphicHeight, PlaneWhite) {}

void GraphicPlane::Damage(int left, int top, int right, int bottom) {
  if (damage_.Empty()) {
    damage_ = PlaneRect{left, top, right, bottom};
    return;
  }
  damage_.left = std::min(damage_.left, left);
  damage_.top = std::min(damage_.top, top);
  damage_.right = std::max(damage_.right, right);
  damage_.bottom = std::max(damage_.bottom, bottom);
}

void GraphicPlane::SetPixel(int x, int y, COLORREF colour) {
  if (!Inside(x, y)) return;
  pixels_[std::size_t(y) * GraphicWidth + std::size_t(x)] = colour;
  Damage(x, y, x + 1, y + 1);
}

void GraphicPlane::Fill(int x, int y, int width, int height, COLORREF colour) {
  // In 64 bits: a far corner must not overflow (long is 32 bits on Windows).
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = int(std::min<std::int64_t>(std::int64_t(x) + width, GraphicWidth));
  const int bottom = int(std::min<std::int64_t>(std::int64_t(y) + height, GraphicHeight));
  if (left >= right || top >= bottom) return;
  for (int row = top; row < bottom; ++row) {
    COLORREF* line = pixels_.data() + std::size_t(row) * GraphicWidth;
    std::fill(line + left, line + right, colour);
  }
  Damage(left, top, right, bottom);
}

COLORREF GraphicPlane::Pixel(int x, int y) const {
  if (!Inside(x, y)) return PlaneWhite;
  return pixels_[std::size_t(y) * GraphicWidth + std::size_t(x)];
}

PlaneRect GraphicPlane::TakeDamage() {
  const PlaneRect taken = damage_;
  damage_ = NoDamage;
  return taken;
}
