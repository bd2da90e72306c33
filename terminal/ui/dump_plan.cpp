#include "terminal/ui/dump_plan.h"

#include <algorithm>

std::int32_t DumpLineCount(std::int32_t length) {
  return length / DumpLineBytes + ((length & 0x0E) != 0 ? 1 : 0);
}

namespace {

std::int32_t FirstLine(std::int32_t lines, std::int32_t visible, const DumpWindow& window) {
  if (lines <= visible) return 0;
  if (window.scrollMax <= 0) return lines - visible;
  std::int32_t pos = std::clamp(window.scrollPos, 0, window.scrollMax);
  // 64-bit product: a long log times a large scroll range exceeds 32 bits.
  return std::int32_t(std::int64_t(lines - visible) * pos / window.scrollMax);
}

}  // namespace

DumpPlan PlanDump(std::int32_t start, std::int32_t end, const DumpWindow& window) {
  DumpPlan plan{start, 0, 0};
  std::int32_t length = end - start;
  if (length <= 0 || window.cellHeight <= 0 || window.clientHeight <= 0) return plan;
  std::int32_t visible = window.clientHeight / window.cellHeight;
  std::int32_t first = FirstLine(DumpLineCount(length), visible, window);
  plan.label = first * DumpLineBytes;
  plan.from = start + plan.label;
  std::int64_t to = std::min<std::int64_t>(end, std::int64_t(plan.from) + std::int64_t(visible) * DumpLineBytes);
  plan.count = std::int32_t(to - plan.from) & ~1;
  return plan;
}

DumpLines SplitDumpLines(std::int32_t bytes) {
  return DumpLines{bytes / DumpLineBytes, bytes & 0x0E};
}

bool WalkDump(const DumpPlan& plan, const DumpReader& read, const DumpDrawer& draw) {
  std::uint8_t buffer[DumpBufferBytes];
  for (std::int32_t done = 0; done < plan.count;) {
    std::int32_t chunk = std::min<std::int32_t>(DumpBufferBytes, plan.count - done);
    if (!read(plan.from + done, buffer, chunk)) return false;
    DumpLines lines = SplitDumpLines(chunk);
    int firstLine = done / DumpLineBytes;
    for (int i = 0; i <= lines.full; ++i) {
      int count = i < lines.full ? DumpLineBytes : lines.tail;
      if (count == 0) break;
      draw(firstLine + i, plan.label + done + DumpLineBytes * i, buffer + DumpLineBytes * i, count);
    }
    done += chunk;
  }
  return true;
}
