// A keyboard output that records what the keyboard code sends and shows, for
// the input tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "terminal/input/keyboard.h"

struct RecordingOutput : KeyboardOutput {
  std::vector<std::uint8_t> sent;
  std::vector<int> sendSizes;  // the length of each SendFromUser
  // The key status texts as the user reads them (UTF-8, whatever coding they came in).
  std::vector<std::string> statuses;

  void SendFromUser(const std::uint8_t* bytes, int length) override;
  void KeyStatus(std::string_view text, TextCoding coding) override;

  // The last key status text, or "" when none was shown.
  std::string LastStatus() const;
};

// Code page 932 bytes as UTF-8 (through iconv), so tests read what the user sees.
std::string Cp932ToUtf8(std::string_view cp932);

// A recorder and a keyboard just started with both locks off, for each test.
struct InputTest {
  RecordingOutput recorder;
  Keyboard keyboard{recorder};
  InputTest();
};
