#include "tests/core/corpus/generated_streams.h"

#include <cstdio>

#include "tests/core/corpus/split_mix.h"

namespace {

// Fixed for good: a new seed gives new streams, and every digest changes.
constexpr std::uint64_t CorpusSeed = 0x74616C766F726978ull;

using Words = std::vector<std::uint16_t>;

constexpr std::uint16_t Bel = 0x0007, Bs = 0x0008, Lf = 0x000A, Cr = 0x000D, Esc = 0x001B,
                        Csi = 0x009B, Eot = 0x0004, Separator = 0x2128, DigitZero = 0x2330,
                        Greater = 0x2164, Point = 0x4540;
constexpr std::uint16_t FinalA = 0x2341, FinalB = 0x2342, FinalC = 0x2343, FinalD = 0x2344,
                        FinalH = 0x2348, FinalJ = 0x234A, FinalK = 0x234B, FinalSmallF = 0x2366,
                        FinalSmallM = 0x236D, FinalColour = 0x3F27, FinalBackground = 0x374A,
                        FinalErase = 0x3E43, FinalView = 0x4C4C;

const std::uint16_t Controls[] = {Bel, Bs, Lf, Cr};
const std::uint16_t Finals[] = {FinalA,      FinalB,      FinalC,      FinalD,          FinalH,
                                FinalJ,      FinalK,      FinalSmallF, 0x2368,          0x236C,
                                FinalSmallM, 0x003E,      FinalColour, FinalBackground, FinalErase,
                                Point,       FinalView};
// The no-parameter forms: Ａ Ｍ Ｂ Ｅ Ｃ Ｄ Ｈ ｓ ｕ 消.
const std::uint16_t BareFinals[] = {FinalA, 0x234D, FinalB, 0x2345, FinalC,
                                    FinalD, FinalH, 0x2373, 0x2375, FinalErase};
const std::uint16_t MoveFinals[] = {FinalA, FinalB, FinalC, FinalD};
const std::uint16_t SgrCodes[] = {0,  1,  4,  6,  7,  22, 24, 26, 27, 30, 31, 32, 33,
                                  34, 35, 36, 37, 40, 41, 42, 43, 44, 45, 46, 47, 2, 38, 99};
// ７ save, ８ restore, ＊ clear.
const std::uint16_t EscArguments[] = {0x2337, 0x2338, 0x2176};
// Words shown as "？", a full-width blank, and the handshake words out of place.
const std::uint16_t OddWords[] = {0x0000, 0x0009, 0x0020, 0x007F, 0x0141, 0x2121,
                                  0xFFFF, Eot,    0x0006, 0x0015, 0x8080, 0x2164};
// Words an arbitrary stream is made of, the interpreter's own weighted heavily.
const std::uint16_t NoiseWords[] = {Bel,       Bs,     Lf,     Cr,     Esc,    Csi,   Eot,
                                    Separator, 0x2331, 0x2335, 0x2339, Greater, Point, FinalH,
                                    FinalSmallM, 0x2337, 0x2338, 0x2176, 0x006C, 0x0068, 0x2341};

// A character of any display form: kanji, kana, full-width letters and digits,
// single-byte codes and words that show as "？".
std::uint16_t Character(SplitMix& random) {
  const int kind = random.Below(20);
  if (kind < 9) return std::uint16_t(random.Between(0x30, 0x4F) << 8 | random.Between(0x21, 0x7E));
  if (kind < 12) return std::uint16_t(random.Between(0x2421, 0x2473));
  if (kind < 14) return std::uint16_t(random.Between(0x2330, 0x237A));
  if (kind < 16) return std::uint16_t(random.Percent(50) ? random.Between(0x21, 0x7E) : random.Between(0xA1, 0xDF));
  if (kind < 19) return random.Pick(OddWords);
  return std::uint16_t(random.Below(0x10000));
}

void AddText(SplitMix& random, Words& words, int count) {
  for (int i = 0; i < count; ++i) {
    words.push_back(random.Percent(12) ? random.Pick(Controls) : Character(random));
  }
}

// A number of `digits` full-width digits.
void AddNumber(SplitMix& random, Words& words, int digits) {
  for (int i = 0; i < digits; ++i) words.push_back(std::uint16_t(DigitZero + random.Below(10)));
}

// A value as full-width digits; where it may be empty, none for 0 a third of
// the time (an empty parameter, read as 0).
void AddValue(SplitMix& random, Words& words, int value, bool mayBeEmpty = true) {
  if (mayBeEmpty && value == 0 && random.Percent(33)) return;
  char text[12];
  std::snprintf(text, sizeof text, "%d", value);
  for (const char* c = text; *c != '\0'; ++c) words.push_back(std::uint16_t(DigitZero + (*c - '0')));
}

// Usually `wanted` values below `limit`; now and then a wrong count, a value
// past the limit or a fourth digit.
std::vector<int> Parameters(SplitMix& random, int wanted, int limit) {
  const int count = random.Percent(85) ? wanted : random.Between(1, 11);
  std::vector<int> values;
  for (int i = 0; i < count; ++i) {
    values.push_back(random.Percent(90) ? random.Below(limit) : random.Between(limit, 9999));
  }
  return values;
}

void AddParameterForm(SplitMix& random, Words& words, const std::vector<int>& values,
                      std::uint16_t final) {
  words.push_back(Csi);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) words.push_back(Separator);
    AddValue(random, words, values[i], i > 0);  // the form starts with a digit
  }
  words.push_back(final);
}

std::vector<int> SgrParameters(SplitMix& random) {
  std::vector<int> codes(std::size_t(random.Percent(95) ? random.Between(1, 4) : random.Between(5, 11)));
  for (int& code : codes) code = random.Percent(90) ? random.Pick(SgrCodes) : random.Below(1000);
  return codes;
}

// ＞, any word, then １ or ５ (now and then neither), any word, then l, h or another word.
void AddPrivateForm(SplitMix& random, Words& words) {
  const std::uint16_t selectors[] = {0x2331, 0x2335, 0x2335, 0x2332};
  const std::uint16_t lasts[] = {0x006C, 0x0068, 0x2341};
  words.insert(words.end(), {Csi, Greater, Character(random), random.Pick(selectors),
                             Character(random), random.Pick(lasts)});
}

// A CSI sequence rejected for its shape: a fourth digit, a word that is no
// final, a final without an action, or nothing valid after CSI.
void AddMalformedCsi(SplitMix& random, Words& words) {
  words.push_back(Csi);
  switch (random.Below(4)) {
    case 0: AddNumber(random, words, 4); words.push_back(FinalH); break;
    case 1: AddNumber(random, words, random.Between(1, 3)); words.push_back(Character(random)); break;
    case 2: AddNumber(random, words, random.Between(1, 3)); words.push_back(random.Pick(Finals)); break;
    default: words.push_back(random.Percent(50) ? Character(random) : FinalSmallM); break;
  }
}

void AddCsi(SplitMix& random, Words& words) {
  switch (random.Below(11)) {
    case 0: words.insert(words.end(), {Csi, random.Pick(BareFinals)}); break;
    case 1: AddParameterForm(random, words, Parameters(random, 1, 120), random.Pick(MoveFinals)); break;
    case 2: AddParameterForm(random, words, Parameters(random, 2, 260), random.Percent(50) ? FinalH : FinalSmallF); break;
    case 3: AddParameterForm(random, words, Parameters(random, 1, 4), random.Percent(50) ? FinalJ : FinalK); break;
    case 4: AddParameterForm(random, words, SgrParameters(random), FinalSmallM); break;
    case 5: AddParameterForm(random, words, Parameters(random, 3, 300), random.Percent(50) ? FinalColour : FinalBackground); break;
    case 6: AddParameterForm(random, words, Parameters(random, 4, 700), FinalErase); break;
    case 7: AddParameterForm(random, words, Parameters(random, 2, 660), Point); break;
    case 8: AddParameterForm(random, words, Parameters(random, 1, 4), FinalView); break;
    case 9: AddPrivateForm(random, words); break;
    default: AddMalformedCsi(random, words); break;
  }
}

void AddEsc(SplitMix& random, Words& words) {
  words.push_back(Esc);
  words.push_back(random.Percent(85) ? random.Pick(EscArguments) : Character(random));
}

// One line of point-plot mode: usually x；y and CR; now and then one number or
// many, a fifth digit (the mode fails), or a stray word (the terminal answers NAK).
void AddPlotLine(SplitMix& random, Words& words) {
  const int numbers = random.Percent(80) ? 2 : random.Between(0, 8);
  for (int i = 0; i < numbers; ++i) {
    if (i > 0) words.push_back(Separator);
    if (random.Percent(2)) {
      AddNumber(random, words, 5);
    } else {
      AddValue(random, words, random.Below(i == 0 ? 700 : 520));
    }
    if (random.Percent(4)) words.push_back(random.Percent(50) ? FinalA : Character(random));
  }
  words.push_back(Cr);
}

// ESC 点, its lines, and usually EOT. Without EOT what follows is read as
// more of the mode.
void AddPointPlot(SplitMix& random, Words& words) {
  words.insert(words.end(), {Esc, Point});
  const int lines = random.Between(0, 12);
  for (int i = 0; i < lines; ++i) AddPlotLine(random, words);
  if (random.Percent(88)) words.push_back(Eot);
}

// The cursor near the bottom, then enough line feeds to scroll.
void AddScroll(SplitMix& random, Words& words) {
  AddParameterForm(random, words, {random.Between(190, 198), random.Below(99)}, FinalH);
  AddText(random, words, random.Between(0, 10));
  words.insert(words.end(), std::size_t(random.Between(1, 12)), Lf);
}

// The cursor near the end of a row, often on an odd column, then characters.
void AddWrap(SplitMix& random, Words& words) {
  AddParameterForm(random, words, {random.Below(199), random.Between(93, 99)}, FinalH);
  AddText(random, words, random.Between(1, 6));
}

void AddPiece(SplitMix& random, Words& words) {
  switch (random.Below(9)) {
    case 0: case 1: AddText(random, words, random.Between(1, 40)); break;
    case 2: case 3: AddCsi(random, words); break;
    case 4: AddEsc(random, words); break;
    case 5: AddPointPlot(random, words); break;
    case 6: AddScroll(random, words); break;
    case 7: AddWrap(random, words); break;
    default: words.push_back(random.Pick(Controls)); break;
  }
}

Words TextStream(SplitMix& random) {
  Words words;
  const int pieces = random.Between(1, 8);
  for (int i = 0; i < pieces; ++i) {
    const int choice = random.Below(4);
    if (choice == 0) AddScroll(random, words);
    if (choice == 1) AddWrap(random, words);
    if (choice >= 2) AddText(random, words, random.Between(1, 120));
  }
  return words;
}

Words CsiStream(SplitMix& random) {
  Words words;
  const int sequences = random.Between(1, 8);
  for (int i = 0; i < sequences; ++i) {
    AddText(random, words, random.Between(0, 12));
    AddCsi(random, words);
  }
  AddText(random, words, random.Between(0, 12));
  return words;
}

Words EscStream(SplitMix& random) {
  Words words;
  const int sequences = random.Between(1, 6);
  for (int i = 0; i < sequences; ++i) {
    AddText(random, words, random.Between(0, 10));
    if (random.Percent(40)) AddCsi(random, words);
    AddEsc(random, words);
  }
  AddText(random, words, random.Between(0, 10));
  return words;
}

Words PlotStream(SplitMix& random) {
  Words words;
  const int plots = random.Between(1, 3);
  for (int i = 0; i < plots; ++i) {
    AddText(random, words, random.Between(0, 60));
    if (random.Percent(40)) AddParameterForm(random, words, Parameters(random, 3, 256), FinalColour);
    AddPointPlot(random, words);
  }
  AddText(random, words, random.Between(0, 20));
  return words;
}

// A sequence as the first words of the stream that are not plain text.
Words Sequence(SplitMix& random) {
  Words sequence;
  const int choice = random.Below(6);
  if (choice < 3) AddCsi(random, sequence);
  if (choice == 3) AddEsc(random, sequence);
  if (choice == 4) AddPointPlot(random, sequence);
  if (choice == 5) AddPrivateForm(random, sequence);
  return sequence;
}

// Characters and control words only up to the sequence, so the pump's blocks
// are exactly 50 words there and the sequence's first `inBlock` words end one.
Words CutStream(SplitMix& random) {
  const Words sequence = Sequence(random);
  const int inBlock = random.Between(1, int(sequence.size()));
  Words words;
  AddText(random, words, 50 * random.Between(1, 2) - inBlock);
  words.insert(words.end(), sequence.begin(), sequence.end());
  const int pieces = random.Between(0, 4);
  for (int i = 0; i < pieces; ++i) AddPiece(random, words);
  return words;
}

// The input ends inside a sequence or in point-plot mode: the wait for more
// words ends as the port closes.
Words EndStream(SplitMix& random) {
  Words words;
  AddText(random, words, random.Between(0, 70));
  switch (random.Below(5)) {
    case 0: words.push_back(Csi); AddNumber(random, words, random.Between(0, 3)); break;
    case 1: words.insert(words.end(), {Csi, DigitZero, Separator}); break;
    case 2: words.push_back(Esc); break;
    case 3: words.insert(words.end(), {Csi, Greater, Character(random), 0x2335}); break;
    default: {
      Words plot;
      AddPointPlot(random, plot);
      if (plot.back() == Eot) plot.pop_back();
      words.insert(words.end(), plot.begin(), plot.end() - random.Below(3));
      break;
    }
  }
  return words;
}

Words MixStream(SplitMix& random) {
  Words words;
  const int pieces = random.Between(2, 30);
  for (int i = 0; i < pieces; ++i) AddPiece(random, words);
  return words;
}

Words NoiseStream(SplitMix& random) {
  Words words(std::size_t(random.Between(0, 300)));
  for (std::uint16_t& word : words) {
    word = random.Percent(60) ? random.Pick(NoiseWords) : std::uint16_t(random.Below(0x10000));
  }
  return words;
}

struct Kind {
  const char* name;
  int count;
  Words (*make)(SplitMix&);
  int echoPercent;  // local echo matters where the terminal answers
};

const Kind Kinds[] = {
    {"text", 300, TextStream, 5},  {"csi", 400, CsiStream, 5},   {"esc", 200, EscStream, 10},
    {"plot", 300, PlotStream, 40}, {"cut", 400, CutStream, 20},  {"end", 100, EndStream, 20},
    {"mix", 400, MixStream, 20},   {"noise", 200, NoiseStream, 20},
};

CorpusStream MakeStream(const Kind& kind, int kindIndex, int number) {
  SplitMix random(CorpusSeed ^ (std::uint64_t(kindIndex) << 32 | std::uint64_t(number)));
  const Words words = kind.make(random);
  CorpusStream stream;
  char id[32];
  std::snprintf(id, sizeof id, "%s-%04d", kind.name, number);
  stream.id = id;
  stream.settings.newLine = random.Percent(20);
  stream.settings.noWrap = random.Percent(20);
  stream.settings.localEcho = random.Percent(kind.echoPercent);
  stream.bytes = StreamBytes(words, random.Percent(15) ? random.Below(256) : -1);
  return stream;
}

}  // namespace

std::vector<CorpusStream> GeneratedStreams() {
  std::vector<CorpusStream> streams;
  for (int k = 0; k < int(sizeof Kinds / sizeof Kinds[0]); ++k) {
    for (int n = 0; n < Kinds[k].count; ++n) streams.push_back(MakeStream(Kinds[k], k, n));
  }
  return streams;
}
