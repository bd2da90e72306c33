// The receive interpreter: turns blocks of received JisWords into changes of
// the screen model, the text canvas and the graphic plane.
#pragma once

#include <cstdint>

class Terminal;

// The pump's block size: 50 words.
constexpr int PumpBlockBytes = 100;

// Interprets `wordCount` little-endian words as one block and returns how
// many it took: all of them, except when ESC 点 entered point-plot mode, which
// ends the block there: the words after it are the mode's. A failing sequence
// drops the rest of the block (the user has been told). A sequence the block's
// end cuts short and an ESC at its end leave the terminal awaiting the words
// of later pushes.
int InterpretWords(Terminal& terminal, const std::uint8_t* words, int wordCount);

// A word of local echo: shown as received, except that an echoed ESC or CSI is
// shown as a character (it would continue in what the terminal sends, not in
// what it receives).
void InterpretEchoWord(Terminal& terminal, std::uint16_t word);
