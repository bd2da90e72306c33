#include "terminal/input/composed_text_encoding.h"

#include <cstring>

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Input methods that follow the JIS mapping to Unicode give a few characters
// as code points that code page 932 spells differently; they stand for the
// same JIS X 0208 characters and are sent as those.
char16_t Cp932Spelling(char16_t unit) {
  switch (unit) {
    case 0x2014: return 0x2015;  // EM DASH -> HORIZONTAL BAR (―)
    case 0x2016: return 0x2225;  // DOUBLE VERTICAL LINE -> PARALLEL TO (∥)
    case 0x2212: return 0xFF0D;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (－)
    case 0x301C: return 0xFF5E;  // WAVE DASH -> FULLWIDTH TILDE (～)
    case 0x00A2: return 0xFFE0;  // CENT SIGN -> FULLWIDTH CENT SIGN (￠)
    case 0x00A3: return 0xFFE1;  // POUND SIGN -> FULLWIDTH POUND SIGN (￡)
    case 0x00AC: return 0xFFE2;  // NOT SIGN -> FULLWIDTH NOT SIGN (￢)
    default: return unit;
  }
}

int CharacterUnits(const char16_t* units, int available) {
  return available >= 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]) ? 2 : 1;
}

// One code page 932 character as SendComposedText reads it back: a single
// byte that is no lead byte, or a lead byte with a trail byte.
bool IsWholeCharacter(const std::uint8_t* bytes, int size) {
  if (size == 1) return bytes[0] != 0 && !IsCp932LeadByte(bytes[0]);
  return size == 2 && IsCp932LeadByte(bytes[0]) && bytes[1] != 0;
}

}  // namespace

int EncodeComposedText(const char16_t* units, int unitCount, Cp932CharacterEncoder encode,
                       std::uint8_t text[ComposedTextCapacity]) {
  int length = 0;
  int at = 0;
  while (at < unitCount && units[at] != 0) {
    const int unitsUsed = CharacterUnits(units + at, unitCount - at);
    const char16_t character[2] = {Cp932Spelling(units[at]),
                                   unitsUsed == 2 ? units[at + 1] : u'\0'};
    std::uint8_t bytes[2] = {};
    int size = encode(character, unitsUsed, bytes);
    // A character without a code page 932 form (an emoji, a lone surrogate)
    // goes as "？", so the device still sees that a character stood there.
    if (!IsWholeCharacter(bytes, size)) {
      std::memcpy(bytes, ReplacementCharacter, sizeof ReplacementCharacter);
      size = sizeof ReplacementCharacter;
    }
    // Only whole characters are kept; the rest of an overlong result is dropped.
    if (length + size > ComposedTextCapacity) break;
    std::memcpy(text + length, bytes, std::size_t(size));
    length += size;
    at += unitsUsed;
  }
  return length;
}
