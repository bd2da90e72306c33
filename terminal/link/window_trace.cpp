#include "terminal/link/window_trace.h"

#include <windows.h>

#include <string>

#include "terminal/native/cp932_text.h"

namespace {

constexpr char TraceFileName[] = "Talvorix.trace";

}  // namespace

std::uint64_t WindowTrace::TickCountClock::Milliseconds() { return GetTickCount64(); }

WindowTrace::WindowTrace() : writer_(file_, clock_, Cp932ToUtf8) {}

bool WindowTrace::Start(bool connected) { return writer_.Open(TraceFileName, connected); }

void WindowTrace::Message(std::string_view caption, std::string_view text, TextCoding coding) {
  if (!writer_.IsOpen()) return;
  const std::string shown = coding == TextCoding::Utf8
                                ? std::string(text)
                                : Cp932ToUtf8(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  writer_.Message(std::string(caption), shown);
}
