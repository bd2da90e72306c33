// The simulated device's script: what it sends, when, and what it waits for.
// The language is described in README.md next to this file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class StepKind {
  Send,      // bytes: sent as they stand
  Pause,     // milliseconds
  Flood,     // count bytes of the repeating pattern `bytes`, at `rate` bytes per second
  WaitBytes, // count more bytes from the terminal (timeout milliseconds)
  Expect,    // the terminal sends `bytes` (other bytes before them are skipped)
  Echo,      // count 1: echo key reports back as their characters; 0: stop
  Plot,      // point-plot run: `points` as x,y pairs, ACK hand-shake
  WaitOpen,  // until the terminal has the port open
  WaitClose, // until the terminal has closed the port
  Settings,  // prints the line settings the terminal applied
  Vanish,    // the device disappears: the pty is closed and the link removed
  Replug,    // as Vanish, and back after `count` milliseconds on a new pty behind the same link
  Hold,      // until a line arrives on standard input
  Quit,      // the program ends
};

struct Step {
  StepKind kind;
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint32_t> points;
  std::uint64_t count;
  std::uint64_t rate;
  std::uint64_t timeout;  // milliseconds
  int line;               // of the script, for messages
};

struct Scenario {
  std::vector<Step> steps;
  std::string error;  // empty when the script was understood
};

// Words of a text written in UTF-8: JIS X 0208 characters become their JIS
// word, single-byte characters (ASCII, half-width katakana) the word 0x00XX.
// `fullWidth` first turns ASCII digits, letters and the marks ; * and space
// into their full-width forms, as sequence parameters are written.
bool TextToWords(std::string_view utf8, bool fullWidth, std::vector<std::uint16_t>& words);

// Appends words little-endian, the wire order.
void AppendWords(const std::vector<std::uint16_t>& words, std::vector<std::uint8_t>& bytes);

// Reads a whole script; on the first fault `error` names the line and the problem.
Scenario ParseScenario(std::string_view script);

// The character word a key report (8 bytes) carries, or -1 when it has none.
int KeyReportWord(const std::uint8_t* report);
