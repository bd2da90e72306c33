// The generated part of the replay corpus: streams of every kind of received
// input, drawn from a fixed seed, so the same streams come back on every build.
#pragma once

#include <vector>

#include "tests/core/corpus/corpus_stream.h"

// Ids "KIND-NNNN". Kinds: text (characters, control words, wrap, scroll), csi
// (every form and final, good and bad parameters), esc (save, restore, clear,
// bad arguments), plot (ESC 点 with its ACK, NAK and EOT), cut (a sequence
// across a pump block's end), end (input ending where the interpreter waits for
// more), mix (pieces of all of these), noise (arbitrary words). Every stream of
// a kind has a seed of its own: changing one kind leaves the others' streams.
std::vector<CorpusStream> GeneratedStreams();
