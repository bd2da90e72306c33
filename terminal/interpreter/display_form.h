// The two Shift-JIS bytes that stand for a received word on the screen and in dumps.
#pragma once

#include <cstdint>

#include "terminal/model/jis.h"

inline void DisplayForm(std::uint16_t word, std::uint8_t form[2]) {
  const unsigned high = word >> 8;
  const unsigned low = word & 0xFF;
  if (high - 0x21u <= 0x7Eu - 0x21u && low - 0x21u <= 0x7Eu - 0x21u) {
    const std::uint16_t pair = JisToSjis(word);
    form[0] = std::uint8_t(pair & 0xFF);
    form[1] = std::uint8_t(pair >> 8);
  } else if ((word >= 0x21 && word <= 0x7E) || (word >= 0xA1 && word <= 0xDF)) {
    form[0] = std::uint8_t(low);
    form[1] = '.';
  } else {
    form[0] = 0x81;  // "？"
    form[1] = 0x48;
  }
}
