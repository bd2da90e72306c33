// The keyboard's output with the trace beside it: what the user hands the
// terminal (key reports, composed characters) is traced as `user` input
// before the terminal sends it, and what the terminal sent for it is
// appended to the file right after.
#pragma once

#include "terminal/input/keyboard.h"
#include "terminal/link/trace_writer.h"

struct TracedKeyboardOutput final : KeyboardOutput {
  TracedKeyboardOutput(KeyboardOutput& to, TraceWriter& traceWriter) : inner(to), trace(traceWriter) {}
  void SendFromUser(const std::uint8_t* bytes, int length) override {
    trace.User(bytes, std::size_t(length));
    inner.SendFromUser(bytes, length);
    trace.Sync();
  }
  void KeyStatus(std::string_view text, TextCoding coding) override { inner.KeyStatus(text, coding); }
  KeyboardOutput& inner;
  TraceWriter& trace;
};
