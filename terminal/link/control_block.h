// The device control block fields the terminal sets from its line settings.
// The Windows side reads the device's block, overwrites these fields from
// LineControlBlock and writes it back; every other field keeps the driver's value.
#pragma once

#include <cstdint>

#include "terminal/link/line_settings.h"

constexpr std::uint32_t DtrControlEnable = 1;     // DTR_CONTROL_ENABLE
constexpr std::uint32_t DtrControlHandshake = 2;  // DTR_CONTROL_HANDSHAKE
constexpr std::uint32_t RtsControlEnable = 1;     // RTS_CONTROL_ENABLE
constexpr std::uint32_t RtsControlHandshake = 2;  // RTS_CONTROL_HANDSHAKE

struct CommControlBlock {
  std::uint32_t DCBlength;
  std::uint32_t BaudRate;
  std::uint8_t ByteSize;
  std::uint8_t Parity;
  std::uint8_t StopBits;
  std::uint32_t fBinary;
  std::uint32_t fParity;
  std::uint32_t fOutxDsrFlow;
  std::uint32_t fDtrControl;
  std::uint32_t fOutxCtsFlow;
  std::uint32_t fRtsControl;
  std::uint32_t fOutX;
  std::uint32_t fInX;
  char XonChar;
  char XoffChar;
  std::uint16_t XonLim;
  std::uint16_t XoffLim;
};

CommControlBlock LineControlBlock(const LineSettings& settings);
