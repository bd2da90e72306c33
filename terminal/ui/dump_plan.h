// Which part of the communication log the dump view shows: the received data
// of the current (or last) connection, 16 bytes a line, the scroll bar mapping
// its range onto the first line shown.
#pragma once

#include <cstdint>
#include <functional>

// The dump view reads the log through a working buffer of this many bytes
// (63 lines); a taller window is read and drawn in several such chunks.
constexpr int DumpBufferBytes = 1008;
constexpr int DumpLineBytes = 16;

struct DumpPlan {
  std::int32_t from;   // log offset of the first byte shown
  std::int32_t count;  // bytes to show from there, always even; 0 draws nothing
  std::int32_t label;  // offset label of the first line, counted from the data start
};

struct DumpWindow {
  std::int32_t scrollPos;     // the vertical bar's position
  std::int32_t scrollMax;     // the maximum of its range
  std::int32_t clientHeight;  // pixels
  std::int32_t cellHeight;    // pixels of one line
};

// Number of dump lines in `length` bytes: a partial line counts only when it
// holds a whole 16-bit word.
std::int32_t DumpLineCount(std::int32_t length);

// The part of the data between `start` and `end` (log offsets) that a window
// shows. The scroll bar's whole range maps linearly onto the first line. When
// the range is 0 (the bar is hidden because the text screen fits) while the
// data is longer than the window, the view shows the newest full screen: with
// no bar to move, the latest data is what the user is watching for.
DumpPlan PlanDump(std::int32_t start, std::int32_t end, const DumpWindow& window);

struct DumpLines {
  std::int32_t full;  // lines of 16 bytes
  std::int32_t tail;  // bytes of the last partial line (whole words only)
};

DumpLines SplitDumpLines(std::int32_t bytes);

// Reads `length` bytes of the log at `offset` into `buffer`; false on failure.
using DumpReader = std::function<bool(std::int32_t offset, std::uint8_t* buffer, std::int32_t length)>;
// Draws one line on screen line `line` with its offset label and 16 or fewer bytes.
using DumpDrawer = std::function<void(int line, std::int32_t label, const std::uint8_t* bytes, int count)>;

// Reads the planned bytes through a buffer of DumpBufferBytes, chunk by chunk,
// and hands every line to `draw`. A window of any height thus never reads
// beyond the buffer. False when a read failed (the lines of the chunks read
// before have been drawn).
bool WalkDump(const DumpPlan& plan, const DumpReader& read, const DumpDrawer& draw);
