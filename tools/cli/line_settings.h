// The line settings of a serial port, in the codes the terminal record keeps
// them, with the window's defaults: 1,000,000 bit/s, 8 data bits, no parity,
// one stop bit, no flow control.
#pragma once

#include <cstdint>
#include <string>

// Parity codes (the platform's): 0 none, 1 odd, 2 even, 3 mark, 4 space.
enum ParityCode : std::uint8_t { ParityNone, ParityOdd, ParityEven, ParityMark, ParitySpace };

// Stop-bit codes (the platform's): 0 one, 1 one and a half, 2 two.
enum StopBitsCode : std::uint8_t { StopBitsOne, StopBitsOneAndHalf, StopBitsTwo };

// Flow-control bits.
constexpr std::uint8_t FlowDtrDsr = 0x01;
constexpr std::uint8_t FlowRtsCts = 0x02;
constexpr std::uint8_t FlowXonXoff = 0x04;

struct LineSettings {
  std::uint32_t baudRate = 1000000;
  std::uint8_t dataBits = 8;
  std::uint8_t parity = ParityNone;
  std::uint8_t stopBits = StopBitsOne;
  std::uint8_t flowControl = 0;
};

// True when the settings can be put on a line: a speed of the settings
// dialog's list, 5 to 8 data bits, and stop bits that go with the data bits
// (one and a half only with 5 data bits, two only with 6 to 8), as a serial
// driver accepts them. Otherwise `error` says what is wrong.
bool CheckLineSettings(const LineSettings& settings, std::string& error);

// "1000000 bit/s 8N1" and the flow control, for messages.
std::string DescribeLineSettings(const LineSettings& settings);
