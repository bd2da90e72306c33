// The receive interpreter: performs what the parser (word_parser.h) reads in
// blocks of received JisWords, as changes of the screen model, the text
// canvas and the graphic plane.
#pragma once

#include <cstdint>

class Terminal;

// The pump's block size: 50 words. Blocks are what the terminal shows of its
// reads: an error dumps its sequence to the end of its block and drops the
// rest of the block.
constexpr int PumpBlockBytes = 100;

// Interprets `wordCount` little-endian words (at most PumpBlockBytes / 2) as
// one block, going on with the sequence a former block left in progress, and
// returns how many it took: all of them, except when ESC 点 entered point-plot
// mode, which ends the block there: the words after it are the mode's. A
// sequence still in progress at the end waits for the words of later blocks.
int InterpretBlock(Terminal& terminal, const std::uint8_t* words, int wordCount);

// A word of local echo: shown as received, except that an echoed ESC or CSI is
// shown as a character (it would continue in what the terminal sends, not in
// what it receives); it never touches a sequence in progress.
void InterpretEchoWord(Terminal& terminal, std::uint16_t word);

// Characters written as received ones (no control words among them), outside
// the parser: the blanks of an erased line.
void WriteCharacters(Terminal& terminal, const std::uint8_t* words, int wordCount);
