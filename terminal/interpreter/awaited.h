// What the interpreter awaits between pushes: the rest of a sequence in
// progress (the parser is not in ground) or point-plot mode, and its end.
#pragma once

#include <cstdint>

#include "terminal/interpreter/terminal.h"

// How long the parser's state may wait for its next word.
std::uint64_t AwaitLimit(const WordParser& parser);

// Back to ground; bytes the user typed meanwhile are sent now.
void EndAwaited(Terminal& terminal);

// EndAwaited, then tells the user what could not be completed ("受信エラー：…").
void FailAwaited(Terminal& terminal);
