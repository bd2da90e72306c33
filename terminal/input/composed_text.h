// Text composed with the input method, sent to the device one JisWord per character.
#pragma once

#include <cstdint>

#include "terminal/input/keyboard.h"

// The capacity of a result string in code page 932 bytes.
constexpr int ComposedTextCapacity = 256;

// Lead bytes of the double-byte characters of code page 932.
bool IsCp932LeadByte(std::uint8_t byte);

// Sends code page 932 text, one character at a time: a double-byte character
// as its JIS code, cell byte first; a single-byte character as the byte and
// 0x00. Pane 1 shows each character as it goes. The walk ends at `length` or
// at a 0x00 byte, whichever comes first.
void SendComposedText(KeyboardOutput& output, const std::uint8_t* text, int length);
