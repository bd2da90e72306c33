#include "terminal/ui/view_geometry.h"

#include <algorithm>

namespace {

// Widths of the panes; the zero marks the one that stretches.
constexpr std::array<int, StatusPaneCount> paneWidths = {200, 0, 50, 50};

}  // namespace

std::array<int, StatusPaneCount> StatusPaneEdges(int clientWidth) {
  std::array<int, StatusPaneCount> edges{};
  int forward = 0;
  int first = 0;
  for (; first < StatusPaneCount && paneWidths[first] != 0; ++first) {
    forward += paneWidths[first];
    edges[first] = forward;
  }
  int backward = clientWidth;
  int last = StatusPaneCount - 1;
  for (; last > first && paneWidths[last] != 0; --last) {
    edges[last] = backward;
    backward -= paneWidths[last];
  }
  edges[last] = backward;
  return edges;
}

std::int32_t ScrollLimit(std::int32_t cellSize, int cells, std::int32_t clientSize) {
  return std::max<std::int32_t>(0, cellSize * cells - clientSize);
}

namespace {

bool ScrollStep(const ScrollAxis& axis, int code, int thumb, std::int32_t* step) {
  switch (code) {
    case ScrollLineBack: *step = -axis.line; return true;
    case ScrollLineForward: *step = axis.line; return true;
    case ScrollPageBack: *step = -axis.page; return true;
    case ScrollPageForward: *step = axis.page; return true;
    case ScrollThumbPosition: *step = thumb - axis.pos; return true;
    case ScrollToStart: *step = -axis.pos; return true;
    case ScrollToEnd: *step = axis.max - axis.pos; return true;
    default: return false;
  }
}

}  // namespace

bool ScrollTarget(const ScrollAxis& axis, int code, int thumb, std::int32_t* newPos) {
  std::int32_t step = 0;
  if (!ScrollStep(axis, code, thumb, &step)) return false;
  if (axis.pos + step > axis.max) step = axis.max - axis.pos;
  if (axis.pos + step < 0) step = -axis.pos;
  *newPos = axis.pos + step;
  return true;
}
