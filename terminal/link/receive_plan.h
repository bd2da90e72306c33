// The receive pump's arithmetic: how much to read, and when to repaint.
#pragma once

#include <cstdint>

#include "terminal/interpreter/interpreter.h"  // PumpBlockBytes

// What a read takes from `waiting` queued bytes: at most `maximum`, rounded
// down to whole words, so that a JisWord is never split; a lone byte stays
// queued until its partner arrives.
int EvenReadCount(std::uint32_t waiting, int maximum);

// Repainting after every 100-byte block cannot keep up with a flood at the top
// line rate (about 3000 blocks a second), so the pump repaints at most every
// RepaintIntervalMs while data keeps coming, and once when the data stops:
// the screen still follows a flood about 28 times a second.
constexpr std::uint64_t RepaintIntervalMs = 35;

struct RepaintPacer {
  std::uint64_t lastRepaint;  // milliseconds
};

// True (and the pacer restarted) when a repaint is due at `now`.
bool RepaintDue(RepaintPacer& pacer, std::uint64_t now);
