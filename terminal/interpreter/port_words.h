// Words the interpreter pulls from the port itself: the rest of a sequence that
// the end of a block cut short, the ESC argument, the words of point-plot mode.
#pragma once

#include <cstdint>

#include "terminal/model/terminal_state.h"

enum class PortWord {
  Arrived,           // a word, appended to the communication log
  ArrivedNotLogged,  // a word, but the log could not take it (the user has been told)
  Closed,            // nothing will come again
  TimedOut,          // nothing came within the wait limit
};

// How long a cut sequence waits for its next word. The window does not react
// while the interpreter waits, so a device that stops in the middle of a
// sequence must not freeze it for ever.
constexpr int CutSequenceWaitMilliseconds = 5000;
// Point-plot mode waits longer: a device may compute between its points. Half
// a minute of silence means the device has given up.
constexpr int PointPlotWaitMilliseconds = 30000;

// Polls the port every millisecond for one word. Every word read is appended to
// the log at once, so the log keeps the bytes in the order they arrived.
PortWord ReadPortWord(Window window, std::uint16_t& word, int waitMilliseconds);
