// The JisWords the interpreter acts on, and how a word is read from a block.
#pragma once

#include <cstdint>

constexpr std::uint16_t WordEot = 0x0004;
constexpr std::uint16_t WordAck = 0x0006;
constexpr std::uint16_t WordBel = 0x0007;
constexpr std::uint16_t WordBs = 0x0008;
constexpr std::uint16_t WordLf = 0x000A;
constexpr std::uint16_t WordCr = 0x000D;
constexpr std::uint16_t WordNak = 0x0015;
constexpr std::uint16_t WordEsc = 0x001B;
constexpr std::uint16_t WordCsi = 0x009B;
constexpr std::uint16_t WordSeparator = 0x2128;  // "；"
constexpr std::uint16_t WordDigitZero = 0x2330;  // "０"
constexpr std::uint16_t WordDigitNine = 0x2339;  // "９"
constexpr std::uint16_t WordFullWidthSpace = 0x2121;

// Word `index` of a block of little-endian words.
inline std::uint16_t WordAt(const std::uint8_t* words, int index) {
  return std::uint16_t(words[2 * index] | words[2 * index + 1] << 8);
}

inline void StoreWord(std::uint8_t* words, int index, std::uint16_t word) {
  words[2 * index] = std::uint8_t(word & 0xFF);
  words[2 * index + 1] = std::uint8_t(word >> 8);
}

inline bool IsDigitWord(std::uint16_t word) {
  return word >= WordDigitZero && word <= WordDigitNine;
}
