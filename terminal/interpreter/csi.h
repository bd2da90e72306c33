// CSI sequences: the action of every form the parser (word_parser.h) reads.
#pragma once

#include <cstdint>

class Terminal;

// The forms without parameters (Ａ Ｂ Ｃ Ｄ Ｅ Ｍ Ｈ ｓ ｕ 消).
void ExecuteBareFinal(Terminal& terminal, std::uint16_t final);

// A final word with its numbers. False: the numbers do not fit the final word
// (a sequence error); ｈ, ｌ and the ASCII ">" end a sequence but are errors too.
bool ExecuteFinal(Terminal& terminal, std::uint16_t final, const std::uint16_t* parameters, int count);

// The private form: selector ５ with the last word l shows the caret, with h
// hides it; anything else does nothing.
void ExecutePrivate(Terminal& terminal, std::uint16_t selector, std::uint16_t last);
