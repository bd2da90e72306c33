// The input method's UTF-16 result string in code page 932, character by character.
#pragma once

#include <cstdint>

#include "terminal/input/composed_text.h"

// Encodes one character (one UTF-16 unit, or a surrogate pair) in code page
// 932. Returns the number of bytes written to `bytes` (1 or 2), or 0 when the
// character has no code page 932 form.
using Cp932CharacterEncoder = int (*)(const char16_t* character, int unitCount,
                                      std::uint8_t bytes[2]);

// Code page 932 bytes of "？", sent for a character without a code page 932 form.
constexpr std::uint8_t ReplacementCharacter[2] = {0x81, 0x48};

// Encodes `units` into `text` (capacity ComposedTextCapacity), whole characters
// only; stops at a U+0000 unit or when the next character would not fit.
// Returns the number of bytes written.
int EncodeComposedText(const char16_t* units, int unitCount, Cp932CharacterEncoder encode,
                       std::uint8_t text[ComposedTextCapacity]);
