// The graphic plane: the 640 x 480 pixels the device plots and fills, state of
// the terminal like its text screen.
//
// The interpreter draws here and nowhere else; every front end shows the plane
// from these pixels (the window copies what changed into its bitmap, the
// pictures and the tools read it whole), so all of them show the same picture.
// White when made; a connect keeps it.
#pragma once

#include <vector>

#include "terminal/model/terminal_state.h"

// A rectangle of the plane in pixels: columns [left, right), rows [top, bottom).
struct PlaneRect {
  int left;
  int top;
  int right;
  int bottom;

  bool Empty() const { return left >= right || top >= bottom; }
};

constexpr COLORREF PlaneWhite = 0xFFFFFF;

class GraphicPlane {
 public:
  GraphicPlane();

  // One pixel; a pixel outside the plane changes nothing. Cheap: a store and
  // the damage grown around it.
  void SetPixel(int x, int y, COLORREF colour);
  // A solid rectangle, clipped to the plane.
  void Fill(int x, int y, int width, int height, COLORREF colour);

  // White outside the plane.
  COLORREF Pixel(int x, int y) const;
  // GraphicWidth pixels, row after row.
  const std::vector<COLORREF>& Pixels() const { return pixels_; }

  // Every pixel changed since the last TakeDamage lies inside the returned
  // rectangle (empty when none did); the damage is then none. The one front
  // end that keeps a copy of the plane (the window's bitmap) takes it.
  PlaneRect TakeDamage();

 private:
  void Damage(int left, int top, int right, int bottom);

  std::vector<COLORREF> pixels_;
  PlaneRect damage_{0, 0, 0, 0};
};
