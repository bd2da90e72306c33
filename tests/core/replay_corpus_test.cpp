// The replay corpus against its digests: every stream replayed as
// talvorix-replay replays it must give the output it gave when the digests
// were written. A difference lists the ids; `replay_corpus_write --show ID`
// prints what one of them gives now.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/core/corpus/digest_file.h"
#include "tests/core/corpus/outcome_digest.h"
#include "tests/core/corpus/replay_corpus.h"

namespace {

std::string Listed(const std::vector<std::string>& ids) {
  constexpr std::size_t Shown = 40;
  std::string text = std::to_string(ids.size()) + ":";
  for (std::size_t i = 0; i < ids.size() && i < Shown; ++i) text += " " + ids[i];
  return ids.size() > Shown ? text + " ..." : text;
}

std::size_t OutcomesWith(const std::vector<std::string>& outcomes, const std::string& text) {
  return std::size_t(std::count_if(outcomes.begin(), outcomes.end(), [&text](const std::string& outcome) {
    return outcome.find(text) != std::string::npos;
  }));
}

// The digests pin only what the streams reach: each outcome the interpreter
// can have is reached by many of them.
void ExpectEveryKindOfOutcome(const std::vector<std::string>& outcomes) {
  for (const char* text : {"sent 06", "sent 15", "plane ", "beep", "tab ", "caret show", "caret hide",
                           "message デバッグデータ内容|", "|ＣＳＩシーケンス実行出来ない！！",
                           "|受信エラー：ＣＳＩシーケンス実行出来ない！！", "|ＥＳＣシーケンス実行出来ない！！",
                           "|受信エラー：点描画を実行出来ない！！", "\ncursor 199 "}) {
    EXPECT_GE(OutcomesWith(outcomes, text), 20u) << text;
  }
}

// One test replays the whole corpus, which takes seconds: each test of this
// file runs in a process of its own under ctest.
TEST(ReplayCorpus, OutputsMatchTheirDigestsAndReachEveryOutcome) {
  const std::map<std::string, std::string> expected = ReadDigestFile(TALVORIX_CORPUS_DIGESTS);
  ASSERT_FALSE(expected.empty()) << "cannot read " << TALVORIX_CORPUS_DIGESTS;
  const std::vector<CorpusStream> corpus = ReplayCorpus();
  std::vector<std::string> outcomes;
  std::vector<std::string> differing;
  std::vector<std::string> unknown;
  for (const CorpusStream& stream : corpus) {
    outcomes.push_back(StreamOutcome(stream));
    const auto entry = expected.find(stream.id);
    if (entry == expected.end()) {
      unknown.push_back(stream.id);
    } else if (entry->second != Digest(outcomes.back())) {
      differing.push_back(stream.id);
    }
  }
  EXPECT_TRUE(differing.empty()) << "streams whose output changed, " << Listed(differing);
  EXPECT_TRUE(unknown.empty()) << "streams without a digest, " << Listed(unknown);
  EXPECT_EQ(expected.size(), corpus.size()) << "the digest file names streams the corpus no longer has";
  ExpectEveryKindOfOutcome(outcomes);
}

TEST(ReplayCorpus, HasTwoThousandStreamsOfUniqueIds) {
  const std::vector<CorpusStream> corpus = ReplayCorpus();
  std::set<std::string> ids;
  for (const CorpusStream& stream : corpus) ids.insert(stream.id);
  EXPECT_EQ(ids.size(), corpus.size());
  EXPECT_GE(ids.size(), 2000u);
}

TEST(ReplayCorpus, GeneratesTheSameStreamsEveryTime) {
  const std::vector<CorpusStream> first = ReplayCorpus();
  const std::vector<CorpusStream> again = ReplayCorpus();
  ASSERT_EQ(again.size(), first.size());
  for (std::size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].bytes, first[i].bytes) << again[i].id;
}

std::size_t StreamsWhere(bool (*holds)(const CorpusStream&)) {
  const std::vector<CorpusStream> corpus = ReplayCorpus();
  return std::size_t(std::count_if(corpus.begin(), corpus.end(), holds));
}

TEST(ReplayCorpus, ReachesEveryOptionAndOddInputs) {
  EXPECT_GE(StreamsWhere([](const CorpusStream& s) { return s.settings.newLine; }), 100u);
  EXPECT_GE(StreamsWhere([](const CorpusStream& s) { return s.settings.noWrap; }), 100u);
  EXPECT_GE(StreamsWhere([](const CorpusStream& s) { return s.settings.localEcho; }), 100u);
  EXPECT_GE(StreamsWhere([](const CorpusStream& s) { return s.bytes.size() % 2 == 1; }), 100u);
}

}  // namespace
