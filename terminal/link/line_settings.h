// The line settings of a serial port: the one model the window, its settings
// dialog, the Win32 control block and the POSIX terminal attributes of
// talvorix-cli all read. The codes are those the terminal record keeps them
// in; the defaults are the window's: 1,000,000 bit/s, 8 data bits, no parity,
// one stop bit, no flow control.
#pragma once

#include <cstdint>
#include <string>

#include "terminal/model/terminal_state.h"

// Parity codes (the platform's): 0 none, 1 odd, 2 even, 3 mark, 4 space.
enum ParityCode : std::uint8_t { ParityNone, ParityOdd, ParityEven, ParityMark, ParitySpace };

// Stop-bit codes (the platform's): 0 one, 1 one and a half, 2 two.
enum StopBitsCode : std::uint8_t { StopBitsOne, StopBitsOneAndHalf, StopBitsTwo };

// Flow-control bits.
constexpr std::uint8_t FlowDtrDsr = 0x01;
constexpr std::uint8_t FlowRtsCts = 0x02;
constexpr std::uint8_t FlowXonXoff = 0x04;

// A line has 5 to 8 data bits.
constexpr std::uint8_t FewestDataBits = 5;
constexpr std::uint8_t MostDataBits = 8;

struct LineSettings {
  std::uint32_t baudRate = 1000000;
  std::uint8_t dataBits = 8;
  std::uint8_t parity = ParityNone;
  std::uint8_t stopBits = StopBitsOne;
  std::uint8_t flowControl = 0;
};

// One value a line setting can take, with its text in the settings dialog's
// list (UTF-8, the same as the string resource that carries it).
struct ListEntry {
  const char* text;
  std::uint32_t value;
};

// The speeds, parities and stop bits a line can have, in the order the
// settings dialog lists them.
extern const ListEntry BaudRateTable[25];
extern const ListEntry ParityTable[5];
extern const ListEntry StopBitsTable[3];

// The line settings the terminal record holds, and back.
LineSettings LineSettingsOf(const TerminalState& state);
void StoreLineSettings(const LineSettings& settings, TerminalState& state);

// True when the settings can be put on a line: a speed of BaudRateTable, 5 to
// 8 data bits, and stop bits that go with the data bits (one and a half only
// with 5 data bits, two only with 6 to 8), as a serial driver accepts them.
// Otherwise `error` says what is wrong.
bool CheckLineSettings(const LineSettings& settings, std::string& error);

// "1000000 bit/s 8N1" and the flow control, for messages.
std::string DescribeLineSettings(const LineSettings& settings);
