// A replay: received bytes played through a freshly connected terminal, as
// talvorix-replay plays them.
#pragma once

#include <string>
#include <vector>

#include "terminal/native/native_platform.h"

// The terminal's options that change what the interpreter does with the words.
struct ReplaySettings {
  bool newLine = false;
  bool noWrap = false;
  bool localEcho = false;  // what the terminal sends (ACK, NAK) comes back as received
};

// Sets the terminal's options as the line settings dialog does.
void ApplyReplaySettings(Terminal& terminal, const ReplaySettings& settings);

// The end of one connection and the start of the next, as the window makes
// them (the screen blanked, the colours reset); the events and the bytes
// sent so far are dropped.
void ReconnectReplay(HeadlessTerminal& terminal);

// Connects `terminal` with the default settings and `settings`, then pushes
// the received bytes of `sessions`, one connection after another, as the
// window received them in one program run: between two sessions the terminal
// disconnects and connects again as the window does (the screen blanked and
// the colours reset, the cursor and all a connect does not reset kept). All
// sessions but the last are replayed silently: their events are dropped. The
// last session ends as a port that has closed, so a sequence or point-plot
// mode waiting for more words ends there. The drawing queue is flushed at the
// end.
void ReplayInput(HeadlessTerminal& terminal, const std::vector<std::string>& sessions, const ReplaySettings& settings);
