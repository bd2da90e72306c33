// CSI sequences: the grammar, the parameter parser and the action of every final word.
#pragma once

#include <cstdint>

class Terminal;

enum class CsiOutcome { Done, Error, Incomplete };

struct CsiResult {
  CsiOutcome outcome;
  int last;  // Done: the index of the sequence's last word
};

constexpr int MaxCsiParameters = 10;

// Parses and performs the sequence whose first word after CSI is word `position`
// of the block of `end` words.
CsiResult ExecuteCsi(Terminal& terminal, const std::uint8_t* words, int position, int end);

// From a digit on: up to ten numbers separated by "；", then a final word.
// Done gives the index of the final word in `last`.
CsiResult CollectParameters(std::uint16_t (&parameters)[MaxCsiParameters], int& count,
                            const std::uint8_t* words, int position, int end);

// Reads full-width digits from word `position` on, leaving it at the first
// other word (or at `end`). More than `digitLimit` digits fail with the value 0.
bool ParseNumber(const std::uint8_t* words, int& position, int end, int digitLimit,
                 std::uint16_t& value);

bool IsFinalWord(std::uint16_t word);
