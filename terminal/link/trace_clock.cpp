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
  const std::tm c = LocalCalendar(std::time_t(micros / 1000000));
  TraceTime time;
  time.year = c.tm_year + 1900;
  time.month = c.tm_mon + 1;
  time.day = c.tm_mday;
  time.hour = c.tm_hour;
  time.minute = c.tm_min;
  time.second = c.tm_sec;
  time.microsecond = int(micros % 1000000);
  time.sinceStartMs = terminalClock_.Milliseconds();
  return time;
}
