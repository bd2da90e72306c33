#include "terminal/interpreter/word_parser.h"

namespace {

constexpr std::uint16_t WordGreater = 0x2164;  // ＞, the private form
constexpr std::uint16_t WordDigitOne = 0x2331;
constexpr std::uint16_t WordDigitFive = 0x2335;
constexpr int CsiDigitLimit = 3;
constexpr int PointDigitLimit = 4;

bool IsBareFinal(std::uint16_t word) {
  switch (word) {
    case 0x2341: case 0x2342: case 0x2343: case 0x2344:  // Ａ Ｂ Ｃ Ｄ
    case 0x2345: case 0x234D: case 0x2348:               // Ｅ Ｍ Ｈ
    case 0x2373: case 0x2375: case 0x3E43:               // ｓ ｕ 消
      return true;
    default: return false;
  }
}

}  // namespace

bool IsFinalWord(std::uint16_t word) {
  switch (word) {
    case 0x2341: case 0x2342: case 0x2343: case 0x2344:  // Ａ Ｂ Ｃ Ｄ
    case 0x2348: case 0x234A: case 0x234B:               // Ｈ Ｊ Ｋ
    case 0x2366: case 0x2368: case 0x236C: case 0x236D:  // ｆ ｈ ｌ ｍ
    case 0x003E:                                         // ASCII >
    case 0x3F27: case 0x374A: case 0x3E43: case 0x4540: case 0x4C4C:  // 色 景 消 点 面
      return true;
    default: return false;
  }
}

// Every word of a sequence is kept for the dump of an error; the grammar
// decides within LongestSequenceWords, so the store never fills.
Parsed WordParser::Take(std::uint16_t word) {
  if (state_ == ParserState::Ground) return Ground(word);
  if (state_ == ParserState::PointPlot) return PointWord(word);
  sequence_[sequenceLength_++] = word;
  switch (state_) {
    case ParserState::EscArgument: return Ended(Parsed::Esc);
    case ParserState::CsiFirst: return CsiFirst(word);
    case ParserState::CsiParameters: return CsiParameter(word);
    default: return Private(word);
  }
}

Parsed WordParser::TakeWords(const std::uint8_t* words, int& index, int count) {
  Parsed parsed;
  do {
    parsed = Take(WordAt(words, index++));
  } while (parsed == Parsed::Pending && index < count);
  return parsed;
}

Parsed WordParser::Ground(std::uint16_t word) {
  if (word != WordEsc && word != WordCsi) return IsControlWord(word) ? Parsed::Control : Parsed::Text;
  sequence_[0] = word;
  sequenceLength_ = 1;
  state_ = word == WordEsc ? ParserState::EscArgument : ParserState::CsiFirst;
  return Parsed::Pending;
}

// The forms without parameters come first: Ｈ and 消 are also final words.
Parsed WordParser::CsiFirst(std::uint16_t word) {
  if (IsBareFinal(word)) return Ended(Parsed::CsiBare);
  if (word == WordGreater) {
    state_ = ParserState::PrivateFirst;
    return Parsed::Pending;
  }
  if (!IsDigitWord(word)) return Ended(Parsed::Error);
  parameterCount_ = 0;
  StartNumber();
  state_ = ParserState::CsiParameters;
  return CsiParameter(word);
}

// A number ends at the first word that is not a digit: a separator starts the
// next one (the eleventh is an error), any other word must be a final word.
Parsed WordParser::CsiParameter(std::uint16_t word) {
  if (IsDigitWord(word)) {
    if (++digits_ > CsiDigitLimit) return Ended(Parsed::Error);
    number_ = std::uint16_t(number_ * 10 + (word - WordDigitZero));
    return Parsed::Pending;
  }
  EndNumber();
  if (word == WordSeparator && parameterCount_ < MaxCsiParameters) {
    StartNumber();
    return Parsed::Pending;
  }
  return Ended(word != WordSeparator && IsFinalWord(word) ? Parsed::CsiNumbers : Parsed::Error);
}

Parsed WordParser::Private(std::uint16_t word) {
  switch (state_) {
    case ParserState::PrivateFirst: state_ = ParserState::PrivateSelector; return Parsed::Pending;
    case ParserState::PrivateSelector:
      if (word != WordDigitOne && word != WordDigitFive) return Ended(Parsed::Error);
      state_ = ParserState::PrivateSecond;
      return Parsed::Pending;
    case ParserState::PrivateSecond: state_ = ParserState::PrivateLast; return Parsed::Pending;
    default: return Ended(Parsed::CsiPrivate);
  }
}

void WordParser::StartNumber() {
  number_ = 0;
  digits_ = 0;
}

void WordParser::EndNumber() { parameters_[parameterCount_++] = number_; }

Parsed WordParser::Ended(Parsed what) {
  state_ = ParserState::Ground;
  return what;
}

void WordParser::StartPointPlot() {
  points_[0] = points_[1] = 0;
  pointCount_ = 0;
  StartNumber();
  state_ = ParserState::PointPlot;
}

// Digits past the fourth only count: such a number fails where it ends.
Parsed WordParser::PointWord(std::uint16_t word) {
  if (IsDigitWord(word)) {
    if (digits_ > PointDigitLimit) return Parsed::PointPending;
    ++digits_;
    number_ = std::uint16_t(number_ * 10 + (word - WordDigitZero));
    return Parsed::PointPending;
  }
  if (word == WordEot) return Parsed::PointEnd;
  if (word != WordSeparator && word != WordCr) {
    pointCount_ = 0;
    StartNumber();
    return Parsed::PointRefused;
  }
  if (digits_ > PointDigitLimit) return Parsed::PointFailed;
  if (pointCount_ < 2) points_[pointCount_++] = number_;
  StartNumber();
  if (word == WordSeparator) return Parsed::PointPending;
  pointCount_ = 0;
  return Parsed::PointPlot;
}
