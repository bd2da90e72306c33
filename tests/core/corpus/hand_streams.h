// The hand-written part of the replay corpus: the cases where the interpreter
// reads from the port itself or waits for it, each set up exactly.
#pragma once

#include <vector>

#include "tests/core/corpus/corpus_stream.h"

// Ids "hand-NAME".
std::vector<CorpusStream> HandStreams();
