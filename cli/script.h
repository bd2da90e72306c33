// A talvorix-cli script: UTF-8 text (a byte order mark at its start is
// skipped), one line each, ended by LF, CR LF or a CR alone; blank lines and
// lines starting with "#" ignored.
//
//   key NAME              a key as the window sends it (xdotool's names)
//   text STRING           text as the input method sends it, one JIS word a character
//   send HEX              raw bytes: "send 41 00 0d 00" or "send 41000d00"
//   expect ...            see expect_parse.h
//   wait MS               receive for MS milliseconds
//   screen                print the screen rows
//   picture FILE.png      a picture of the view the window shows
//   disconnect, connect   close and open the port again
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/expectation.h"
#include "cli/key_names.h"

// A script's bounds, far beyond any device's test: a script of 1 MiB holds
// some 20,000 lines, and no line of 4 KiB can be met by a row of the screen.
constexpr std::size_t LongestScriptBytes = std::size_t(1) << 20;
constexpr std::size_t LongestLineBytes = 4096;

enum class LineKind { Key, Text, Send, Expect, Wait, Screen, Picture, Disconnect, Connect };

struct ScriptLine {
  LineKind kind = LineKind::Screen;
  int number = 0;                   // in the file, from 1
  std::string source;               // as written, for messages
  std::vector<KeyEvent> keys;       // Key
  std::vector<std::uint8_t> bytes;  // Text: code page 932; Send: the bytes
  Expectation expectation;          // Expect
  int milliseconds = 0;             // Wait
  std::string path;                 // Picture
};

// Reads a whole script. A line longer than LongestLineBytes is a fault. The port is open when a script starts; sending while
// it is closed, and connecting or disconnecting twice, are faults of the
// script. False, with `error` as "line N: what is wrong", at the first fault.
bool ParseScript(std::string_view text, std::vector<ScriptLine>& lines, std::string& error);
