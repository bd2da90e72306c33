// replay_corpus_write: rewrites the digest file of the replay corpus, or shows
// the outcome one stream's digest is taken of.
//
//   replay_corpus_write FILE      every stream replayed, FILE rewritten
//   replay_corpus_write --show ID the outcome of stream ID, as digested
//
// The build's target replay_corpus_digests runs the first form on
// tests/core/replay_corpus_digests.txt.
#include <cstdio>
#include <string>

#include "tests/core/corpus/digest_file.h"
#include "tests/core/corpus/outcome_digest.h"
#include "tests/core/corpus/replay_corpus.h"

namespace {

int Write(const std::string& path) {
  StreamDigests digests;
  for (const CorpusStream& stream : ReplayCorpus()) digests.emplace_back(stream.id, Digest(StreamOutcome(stream)));
  if (!WriteDigestFile(path, digests)) {
    std::fprintf(stderr, "replay_corpus_write: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%zu digests written to %s\n", digests.size(), path.c_str());
  return 0;
}

int Show(const std::string& id) {
  for (const CorpusStream& stream : ReplayCorpus()) {
    if (stream.id != id) continue;
    const std::string outcome = StreamOutcome(stream);
    std::fwrite(outcome.data(), 1, outcome.size(), stdout);
    return 0;
  }
  std::fprintf(stderr, "replay_corpus_write: no stream %s\n", id.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') return Write(argv[1]);
  if (argc == 3 && std::string(argv[1]) == "--show") return Show(argv[2]);
  std::fputs("usage: replay_corpus_write FILE | replay_corpus_write --show ID\n", stderr);
  return 2;
}
