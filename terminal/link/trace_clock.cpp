#include "terminal/link/trace_clock.h"

#include <chrono>
#include <ctime>

namespace {

std::tm LocalCalendar(std::time_t seconds) {
  std::tm calendar{};
#ifdef _WIN32
  localtime_s(&calendar, &seconds);
#else
  localtime_r(&seconds, &calendar);
#endif
  return calendar;
}

}  // namespace

TraceTime SystemTraceClock::Now() {
  using namespace std::chrono;
  const std::int64_t micros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
  const std::int64_t second = micros / 1000000;
  if (second != calendarSecond_) {
    const std::tm c = LocalCalendar(std::time_t(second));
    calendar_ = TraceTime{c.tm_year + 1900, c.tm_mon + 1, c.tm_mday, c.tm_hour, c.tm_min, c.tm_sec, 0, 0};
    calendarSecond_ = second;
  }
  TraceTime time = calendar_;
  time.microsecond = int(micros % 1000000);
  time.sinceStartMs = terminalClock_.Milliseconds();
  return time;
}
