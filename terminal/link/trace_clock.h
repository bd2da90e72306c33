// The trace's clock on a real system: the local time from the system clock,
// to the microsecond, beside the milliseconds of the terminal's own clock
// (its Clock role), so that the trace counts time as the terminal did.
#pragma once

#include <cstdint>

#include "terminal/link/trace_writer.h"
#include "terminal/model/roles.h"

class SystemTraceClock final : public TraceClock {
 public:
  explicit SystemTraceClock(Clock& terminalClock) : terminalClock_(terminalClock) {}
  TraceTime Now() override;

 private:
  Clock& terminalClock_;
  // The local calendar of the latest second asked for: many events share one.
  std::int64_t calendarSecond_ = -1;
  TraceTime calendar_;
};
