// The replay corpus: every stream whose replay is pinned by a digest, and how
// one stream is replayed.
#pragma once

#include <string>
#include <vector>

#include "tests/core/corpus/corpus_stream.h"

// The hand-written streams, then the generated ones; ids are unique.
std::vector<CorpusStream> ReplayCorpus();

// The stream replayed as talvorix-replay replays it: its report, and the
// graphic plane's digest when something was drawn there (see ReplayOutcome).
std::string StreamOutcome(const CorpusStream& stream);
