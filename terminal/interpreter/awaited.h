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

// A sequence cut by the end of its block (CSI and the words after it, or an
// ESC alone) waits for its rest: `what` is CutCsi or EscArgument.
void AwaitCut(Terminal& terminal, Awaited what, const std::uint8_t* sequence, int wordCount);

// The next block after a cut sequence (at most PumpBlockBytes / 2 words): the
// cut words are put in front of it and the whole is interpreted as one block,
// by the same grammar, so that the sequence means exactly what it means when
// no block ends inside it: still incomplete, it waits again; complete, it is
// performed and the block goes on after it; an error, it is dumped (its words
// and the block's rest) with the message of a sequence error, and the block's
// rest is dropped. Returns how many of the block's words were taken.
int ContinueCut(Terminal& terminal, const std::uint8_t* words, int wordCount);
