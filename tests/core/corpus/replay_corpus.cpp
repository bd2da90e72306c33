#include "tests/core/corpus/replay_corpus.h"

#include "tests/core/corpus/generated_streams.h"
#include "tests/core/corpus/hand_streams.h"
#include "tests/core/corpus/outcome_digest.h"

std::vector<CorpusStream> ReplayCorpus() {
  std::vector<CorpusStream> streams = HandStreams();
  const std::vector<CorpusStream> generated = GeneratedStreams();
  streams.insert(streams.end(), generated.begin(), generated.end());
  return streams;
}

std::string StreamOutcome(const CorpusStream& stream) {
  HeadlessTerminal terminal;
  ReplayInput(terminal, {stream.bytes}, stream.settings);
  return ReplayOutcome(terminal);
}
