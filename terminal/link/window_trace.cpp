#include <windows.h>

#include "terminal/link/trace_clock.h"
#include "terminal/link/win32_log_file.h"
#include "terminal/link/window_trace.h"

namespace {

constexpr char TraceFileName[] = "Talvorix.trace";

// The clock the window's terminal measures its waits with (its Clock role,
// and the pump's ticks): the trace counts time as the terminal did.
struct TickCountClock final : Clock {
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
};

std::wstring Wide(const std::uint8_t* bytes, std::size_t length, UINT codePage) {
  const int count = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), int(length), nullptr, 0);
  std::wstring wide(std::size_t(count > 0 ? count : 0), L'\0');
  if (count > 0) {
    MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), int(length), wide.data(), count);
  }
  return wide;
}

std::string Cp932AsUtf8(const std::uint8_t* bytes, std::size_t length) {
  const std::wstring wide = Wide(bytes, length, 932);
  const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(std::size_t(count > 0 ? count : 0), '\0');
  if (count > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), count, nullptr, nullptr);
  return text;
}

struct WindowTraceParts {
  Win32LogFile file;
  TickCountClock ticks;
  SystemTraceClock clock{ticks};
  TraceWriter writer{file, clock, Cp932AsUtf8};
};

WindowTraceParts& Parts() {
  static WindowTraceParts parts;
  return parts;
}

}  // namespace

TraceWriter& WindowTrace() { return Parts().writer; }

bool StartWindowTrace(bool connected) { return WindowTrace().Open(TraceFileName, connected); }

void StopWindowTrace() { WindowTrace().Close(); }

void TraceWindowMessage(std::string_view caption, std::string_view text, TextCoding coding) {
  if (!WindowTrace().IsOpen()) return;
  const std::string shown = coding == TextCoding::Utf8
                                ? std::string(text)
                                : Cp932AsUtf8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  WindowTrace().Message(std::string(caption), shown);
}
