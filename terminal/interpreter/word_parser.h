// The grammar of the receive stream, one word at a time.
//
// The parser keeps the sequence in progress (its state, its words, its
// numbers) in the object, so a sequence means the same whatever pushes or
// blocks it arrives in: the words of a later push continue it by the same
// rules that read it whole. It only reads; the interpreter (interpreter.cpp)
// performs what it reports.
//
//   text        any word that is not one of the control words below
//   control     BEL, BS, LF, CR
//   ESC x       exactly one argument word
//   CSI f       f one of the forms without parameters (Ａ Ｂ Ｃ Ｄ Ｅ Ｍ Ｈ ｓ ｕ 消)
//   CSI n；…f   up to ten numbers of at most three full-width digits
//               (an empty number is 0), then a final word
//   CSI ＞ a s b l   the private form: s the selector (１ or ５), l the last word
//   point-plot  after ESC 点: lines "x；y" CR of numbers of at most four
//               digits, up to EOT
#pragma once

#include <cstdint>

#include "terminal/interpreter/words.h"

constexpr int MaxCsiParameters = 10;

// The longest sequence the grammar can hold before it decides: CSI, ten
// numbers of three digits and nine separators; the next word ends or rejects it.
constexpr int LongestSequenceWords = 1 + 3 * MaxCsiParameters + (MaxCsiParameters - 1) + 1;

enum class ParserState {
  Ground,
  EscArgument,
  CsiFirst,         // the word after CSI
  CsiParameters,    // inside the numbers
  PrivateFirst,     // CSI ＞, then any word
  PrivateSelector,  // １ or ５
  PrivateSecond,    // any word
  PrivateLast,      // the last word: l or h with selector ５
  PointPlot,
};

// What a word completed.
enum class Parsed {
  Pending,      // a sequence goes on
  Text,         // a character
  Control,      // BEL, BS, LF or CR
  Esc,          // ESC and its argument: argument()
  CsiBare,      // a form without parameters: final()
  CsiNumbers,   // numbers and a final word: final(), parameters()
  CsiPrivate,   // the private form: selector(), final() is its last word
  Error,        // the word makes the sequence an error
  PointPending, // point-plot mode: a line goes on
  PointPlot,    // a line complete: point()
  PointEnd,     // EOT (the caller ends the mode)
  PointRefused, // a word no line may hold
  PointFailed,  // a number of more than four digits (the caller ends the mode)
};

// Whether a word in ground is a control word (ends a run of text).
inline bool IsControlWord(std::uint16_t word) {
  if (word >= 0x21 && word != WordCsi) return false;
  return word == WordBel || word == WordBs || word == WordLf || word == WordCr ||
         word == WordEsc || word == WordCsi;
}

bool IsFinalWord(std::uint16_t word);

class WordParser {
 public:
  Parsed Take(std::uint16_t word);
  // Takes little-endian words from word `index` on until one completes
  // something (what Take reports for it) or `count` is reached (Pending);
  // leaves `index` after the last word taken.
  Parsed TakeWords(const std::uint8_t* words, int& index, int count);

  // Point-plot mode starts (after ESC 点): the number store is zero, so a
  // first line with fewer than two numbers plots at 0 for what it lacks.
  void StartPointPlot();
  // Back to ground, whatever was in progress (also how point-plot mode ends).
  void Reset() { state_ = ParserState::Ground; }

  ParserState state() const { return state_; }
  bool InGround() const { return state_ == ParserState::Ground; }
  // The sequence in progress or just ended, from its ESC or CSI on.
  const std::uint16_t* sequence() const { return sequence_; }
  int sequenceLength() const { return sequenceLength_; }
  std::uint16_t argument() const { return sequence_[1]; }
  std::uint16_t final() const { return sequence_[sequenceLength_ - 1]; }
  std::uint16_t selector() const { return sequence_[3]; }
  const std::uint16_t* parameters() const { return parameters_; }
  int parameterCount() const { return parameterCount_; }
  int pointX() const { return int(points_[0]); }
  int pointY() const { return int(points_[1]); }

 private:
  Parsed Ground(std::uint16_t word);
  Parsed CsiFirst(std::uint16_t word);
  Parsed CsiParameter(std::uint16_t word);
  Parsed Private(std::uint16_t word);
  Parsed PointWord(std::uint16_t word);
  void StartNumber();
  void EndNumber();
  Parsed Ended(Parsed what);

  ParserState state_ = ParserState::Ground;
  std::uint16_t sequence_[LongestSequenceWords] = {};
  int sequenceLength_ = 0;
  std::uint16_t parameters_[MaxCsiParameters] = {};
  int parameterCount_ = 0;
  std::uint16_t number_ = 0;  // the number being read, and its digits so far
  int digits_ = 0;
  // Point-plot mode: the line's numbers are kept from line to line, only the
  // first two are plotted; a third and later number is checked, not kept.
  std::uint16_t points_[2] = {};
  int pointCount_ = 0;
};
