#include "cli/screen_view.h"

#include <cstdio>
#include <cstring>

#include "replay/replay_report.h"

namespace {

int LastRowShown(const ScreenView& view) {
  int last = ScreenRows - 1;
  while (last > view.cursorRow && view.rows[std::size_t(last)].empty()) --last;
  return last;
}

}  // namespace

void UpdateScreenRows(ScreenView& view, const std::uint8_t* screen) {
  for (std::size_t row = 0; row < ScreenRows; ++row) {
    const std::uint8_t* bytes = screen + row * ScreenColumns;
    if (std::memcmp(view.cells[row].data(), bytes, ScreenColumns) == 0) continue;
    std::memcpy(view.cells[row].data(), bytes, ScreenColumns);
    // Well-formed UTF-8: U+FFFD for bytes that do not decode.
    view.rows[row] = CellRowText(bytes);
  }
}

std::string ScreenListing(const ScreenView& view) {
  std::string listing;
  char prefix[32];
  for (int row = 0; row <= LastRowShown(view); ++row) {
    std::snprintf(prefix, sizeof prefix, "%3d|", row);
    listing += prefix + view.rows[std::size_t(row)] + "\n";
  }
  std::snprintf(prefix, sizeof prefix, "cursor %d %d\ntab %d\n", view.cursorRow, view.cursorCol, view.tab);
  return listing + prefix;
}
