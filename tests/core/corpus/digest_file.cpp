#include "tests/core/corpus/digest_file.h"

#include <fstream>
#include <sstream>

namespace {

constexpr char Header[] =
    "# Digests of talvorix-replay's output for every stream of the replay corpus\n"
    "# (tests/core/corpus), checked by core_replay_corpus_tests. Not edited by hand:\n"
    "# when a change of the output is intended, rewrite the file with\n"
    "#   cmake --build build/native --target replay_corpus_digests\n"
    "# and name in the commit the ids whose digest changed and why.\n";

}  // namespace

std::map<std::string, std::string> ReadDigestFile(const std::string& path) {
  std::map<std::string, std::string> digests;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string id;
    std::string digest;
    if (fields >> id >> digest) digests[id] = digest;
  }
  return digests;
}

bool WriteDigestFile(const std::string& path, const StreamDigests& digests) {
  std::ofstream file(path, std::ios::binary);
  file << Header;
  for (const auto& entry : digests) file << entry.first << ' ' << entry.second << '\n';
  return bool(file.flush());
}
