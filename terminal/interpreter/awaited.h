// What the interpreter awaits between pushes (Awaited in terminal.h): entering
// it, the words that feed it, and its end.
#pragma once

#include <cstdint>

#include "terminal/interpreter/terminal.h"

// Starts awaiting `what`; its time counts from now.
void Await(Terminal& terminal, Awaited what);

// Back to ground; bytes the user typed meanwhile are sent now.
void EndAwaited(Terminal& terminal);

// EndAwaited, then tells the user what could not be completed ("受信エラー：…").
void FailAwaited(Terminal& terminal);

// The CSI sequence from `sequence` (CSI and what followed it, `wordCount`
// words) waits for its rest; one too long ever to complete fails at once.
void AwaitCutCsi(Terminal& terminal, const std::uint8_t* sequence, int wordCount);

// The next word of a cut CSI sequence: a digit or "；" extends it, a final word
// completes and performs it, anything else fails it.
void TakeCutCsiWord(Terminal& terminal, std::uint16_t word);

// The argument of an ESC that ended its block.
void TakeEscArgument(Terminal& terminal, std::uint16_t argument);
