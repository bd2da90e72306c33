#include "terminal/input/composed_text.h"

#include <cstdio>

#include "terminal/model/jis.h"

namespace {


// "送信データ：%04x, 送信内容：%s" in code page 932: the sent content is a
// code page 932 character, so the whole status text is passed in that coding.
constexpr char SentCharacterFormat[] =
    "\x91\x97" "\x90\x4D" "\x83\x66" "\x81\x5B" "\x83\x5E" "\x81\x46"  // 送信データ：
    "%04x, "
    "\x91\x97" "\x90\x4D" "\x93\xE0" "\x97\x65" "\x81\x46"  // 送信内容：
    "%s";

void ShowSentCharacter(KeyboardOutput& output, std::uint16_t word, const std::uint8_t* character, int size) {
  char content[3] = {};
  for (int i = 0; i < size; ++i) content[i] = char(character[i]);
  char text[64];
  std::snprintf(text, sizeof text, SentCharacterFormat, unsigned(word), content);
  output.KeyStatus(text, TextCoding::Cp932);
}

}  // namespace

bool IsCp932LeadByte(std::uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void SendComposedText(KeyboardOutput& output, const std::uint8_t* text, int length) {
  int at = 0;
  while (at < length && text[at] != 0) {
    std::uint16_t word = text[at];
    int size = 1;
    if (IsCp932LeadByte(text[at])) {
      // A lead byte without its trail byte is no character: the text ends there.
      if (at + 1 >= length || text[at + 1] == 0) return;
      word = SjisToJis(std::uint16_t(text[at] | (text[at + 1] << 8)));
      size = 2;
    }
    const std::uint8_t pair[2] = {std::uint8_t(word & 0xFF), std::uint8_t(word >> 8)};
    output.SendFromUser(pair, 2);
    ShowSentCharacter(output, word, text + at, size);
    at += size;
  }
}
