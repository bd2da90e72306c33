// One stream of the replay corpus: the bytes a device sends and the terminal
// options it is replayed with, under a name that stays the same from build to build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "replay/replay_run.h"

struct CorpusStream {
  std::string id;
  std::string bytes;
  ReplaySettings settings;
};

// Little-endian bytes of words, with `oddByte` appended when it is 0-255.
std::string StreamBytes(const std::vector<std::uint16_t>& words, int oddByte = -1);
