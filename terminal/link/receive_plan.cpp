#include "terminal/link/receive_plan.h"

int EvenReadCount(std::uint32_t waiting, int maximum) {
  if (maximum <= 0) return 0;
  const std::uint32_t count = waiting < std::uint32_t(maximum) ? waiting : std::uint32_t(maximum);
  return int(count & ~std::uint32_t(1));
}

bool RepaintDue(RepaintPacer& pacer, std::uint64_t now) {
  if (now - pacer.lastRepaint < RepaintIntervalMs) return false;
  pacer.lastRepaint = now;
  return true;
}
