#include "terminal/link/log_format.h"

#include <cstdio>

namespace {

constexpr const char* WeekdayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "通信開始時刻：" and "通信終了時刻：" in Shift-JIS.
constexpr const char* StartLabel = "\x92\xCA\x90\x4D\x8A\x4A\x8E\x6E\x8E\x9E\x8D\x8F\x81\x46";
constexpr const char* EndLabel = "\x92\xCA\x90\x4D\x8F\x49\x97\xB9\x8E\x9E\x8D\x8F\x81\x46";

// Keeps a table index in range whatever the clock reports.
int Wrap(int value, int size) { return ((value % size) + size) % size; }

}  // namespace

std::string LogTimeText(const LogClock& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %4d", WeekdayNames[Wrap(time.weekday, 7)],
                MonthNames[Wrap(time.month - 1, 12)], time.day, time.hour, time.minute, time.second,
                time.year);
  return text;
}

std::string StampRule(int count) {
  std::string rule;
  for (int i = 0; i < count; ++i) rule += "\x81\xE4";
  return rule;
}

std::string HeaderLine(const std::string& timeText) {
  const std::string rule = StampRule(14);
  return "\r\n" + rule + " " + timeText + " " + rule + "\r\n";
}

std::string StampLine(StampKind kind, const std::string& timeText) {
  const std::string rule = StampRule(10);
  const char* label = kind == StampKind::Start ? StartLabel : EndLabel;
  return "\r\n" + std::string(label) + " " + rule + " " + timeText + " " + rule + "\r\n";
}
