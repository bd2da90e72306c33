// The byte format of the communication log "Talvorix.log": the header line of
// each program start and the stamps around each connection, in Shift-JIS.
#pragma once

#include <string>

// A broken-down local time.
struct LogClock {
  int year;
  int month;    // 1-12
  int day;      // 1-31
  int weekday;  // 0 Sunday - 6 Saturday
  int hour;
  int minute;
  int second;
};

enum class StampKind { Start, End };

// "Sun Dec 06 15:20:17 2026": 24 characters for a four-digit year, the day zero-padded.
std::string LogTimeText(const LogClock& time);

// The rule "∽" (Shift-JIS 0x81 0xE4) `count` times.
std::string StampRule(int count);

// CR LF, rule of 14, space, time text, space, rule of 14, CR LF: 86 bytes.
std::string HeaderLine(const std::string& timeText);

// CR LF, "通信開始時刻：" or "通信終了時刻：", space, rule of 10, space, time
// text, space, rule of 10, CR LF: 85 bytes.
std::string StampLine(StampKind kind, const std::string& timeText);
