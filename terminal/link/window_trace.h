// The window's trace: "Talvorix.trace" in the current directory, written
// while 動作 → トレース記録 is checked (off at start; nothing is remembered
// between runs). The link traces what crosses the line (the pump's pushes,
// the bytes transmitted, the connection's events), the window the user's
// input and the terminal's messages.
#pragma once

#include <string_view>

#include "terminal/link/trace_writer.h"
#include "terminal/model/roles.h"

// The writer; closed (every call does nothing) while tracing is off.
TraceWriter& WindowTrace();

// Opens the trace (appending, a header line first, a `start` event when
// connected). False when the file cannot be opened or written.
bool StartWindowTrace(bool connected);
void StopWindowTrace();

// A message the terminal shows, in the trace.
void TraceWindowMessage(std::string_view caption, std::string_view text, TextCoding coding);
