#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "terminal/input/composed_text.h"
#include "terminal/input/composed_text_encoding.h"
#include "tests/input/recording_platform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ComposedText : testing::Test, InputTest {
  // The text is copied to a buffer of exactly its length, so that a read
  // beyond it is caught by the address sanitizer.
  Bytes Send(const Bytes& text) {
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[text.size()]);
    std::copy(text.begin(), text.end(), exact.get());
    recorder.sent.clear();
    SendComposedText(recorder, exact.get(), int(text.size()));
    return recorder.sent;
  }
  std::vector<std::string> KeyStatusTexts() const { return recorder.statuses; }
};

TEST_F(ComposedText, SendsDoubleByteCharactersAsJisCellByteFirst) {
  EXPECT_EQ(Send({0x82, 0xA0, 'A'}), (Bytes{0x22, 0x24, 0x41, 0x00}));  // あA
  EXPECT_EQ(recorder.LastStatus(), "送信データ：0041, 送信内容：A");
}

TEST_F(ComposedText, ShowsEachCharacterAsItGoes) {
  Send({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA});  // 日本語
  EXPECT_EQ(recorder.sent, (Bytes{0x7C, 0x46, 0x5C, 0x4B, 0x6C, 0x38}));
  EXPECT_EQ(KeyStatusTexts(), (std::vector<std::string>{"送信データ：467c, 送信内容：日",
                                                    "送信データ：4b5c, 送信内容：本",
                                                    "送信データ：386c, 送信内容：語"}));
}

TEST_F(ComposedText, SendsHalfWidthKatakanaAsASingleByteCharacter) {
  EXPECT_EQ(Send({0xB1}), (Bytes{0xB1, 0x00}));
  EXPECT_EQ(recorder.LastStatus(), "送信データ：00b1, 送信内容：ｱ");
}

TEST_F(ComposedText, RecognisesBothRangesOfLeadBytes) {
  EXPECT_EQ(Send({0x88, 0x9F, 0xE0, 0x40, 0x87, 0x7E}),
            (Bytes{0x21, 0x30, 0x21, 0x5F, 0x5F, 0x2D}));  // 亜, row 0x5F, ㍻
  EXPECT_EQ(Send({0x80, 0xA0, 0xDF, 0xFD}), (Bytes{0x80, 0x00, 0xA0, 0x00, 0xDF, 0x00, 0xFD, 0x00}));
  // The outer edges of the two ranges (0xE0 above).
  EXPECT_EQ(Send({0x81, 0x40, 0x9F, 0xFC, 0xFC, 0x40}),
            (Bytes{0x21, 0x21, 0x7E, 0x5E, 0x21, 0x97}));  // 　, row 0x5E, row 0x97
}

TEST_F(ComposedText, LoneLeadByteAtTheEndIsNotSentNorReadPast) {
  EXPECT_EQ(Send({'A', 0x82}), (Bytes{0x41, 0x00}));
  EXPECT_EQ(KeyStatusTexts().size(), 1u);
  EXPECT_EQ(Send({0x82}), Bytes{});
}

TEST_F(ComposedText, WalkEndsAtTheTerminator) {
  EXPECT_EQ(Send({'A', 0x00, 'B'}), (Bytes{0x41, 0x00}));
  EXPECT_EQ(Send({0x82, 0x00, 'B'}), Bytes{});  // a lead byte before the terminator
}

TEST_F(ComposedText, EmptyTextSendsAndShowsNothing) {
  EXPECT_EQ(Send({}), Bytes{});
  SendComposedText(recorder, nullptr, 0);
  SendComposedText(recorder, nullptr, -1);
  EXPECT_TRUE(recorder.sent.empty());
  EXPECT_TRUE(recorder.statuses.empty());
}

// A stand-in for the platform's code page 932 conversion, with a few characters.
int FewCharacters(const char16_t* character, int unitCount, std::uint8_t bytes[2]) {
  static const std::map<char16_t, Bytes> known = {
      {u'A', {0x41}}, {u'あ', {0x82, 0xA0}}, {u'ｱ', {0xB1}}, {u'亜', {0x88, 0x9F}},
      {u'～', {0x81, 0x60}}, {u'－', {0x81, 0x7C}}, {u'∥', {0x81, 0x61}}, {u'￢', {0x81, 0xCA}}};
  if (unitCount != 1) return 0;
  const auto found = known.find(character[0]);
  if (found == known.end()) return 0;
  std::copy(found->second.begin(), found->second.end(), bytes);
  return int(found->second.size());
}

Bytes Encode(const std::u16string& units, Cp932CharacterEncoder encoder = FewCharacters) {
  std::unique_ptr<char16_t[]> exact(new char16_t[units.size()]);
  std::copy(units.begin(), units.end(), exact.get());
  std::uint8_t text[ComposedTextCapacity];
  const int length = EncodeComposedText(exact.get(), int(units.size()), encoder, text);
  return Bytes(text, text + length);
}

TEST(ComposedTextEncoding, EncodesEachCharacter) {
  EXPECT_EQ(Encode(u"あAｱ亜"), (Bytes{0x82, 0xA0, 0x41, 0xB1, 0x88, 0x9F}));
}

TEST(ComposedTextEncoding, SendsJisSpellingsOfCharactersAsTheirCodePage932Forms) {
  // WAVE DASH, MINUS SIGN, DOUBLE VERTICAL LINE, NOT SIGN as a JIS input method gives them
  EXPECT_EQ(Encode(u"\u301C\u2212\u2016\u00AC"),
            (Bytes{0x81, 0x60, 0x81, 0x7C, 0x81, 0x61, 0x81, 0xCA}));
  EXPECT_EQ(Encode(u"～－"), (Bytes{0x81, 0x60, 0x81, 0x7C}));
}

TEST(ComposedTextEncoding, ReplacesCharactersWithoutACodePage932Form) {
  const Bytes question = {0x81, 0x48};  // ？
  EXPECT_EQ(Encode(u"A😀A"), (Bytes{0x41, 0x81, 0x48, 0x41}));  // a surrogate pair is one character
  EXPECT_EQ(Encode(std::u16string(1, char16_t(0xD800)) + u"A"), (Bytes{0x81, 0x48, 0x41}));
  EXPECT_EQ(Encode(std::u16string(1, char16_t(0xDC00))), question);
  EXPECT_EQ(Encode(std::u16string(1, char16_t(0xD83D))), question);  // cut pair at the end
  EXPECT_EQ(Encode(u"Ω"), question);
}

TEST(ComposedTextEncoding, ReplacementIsSentAsTheFullWidthQuestionMark) {
  InputTest test;
  std::uint8_t text[ComposedTextCapacity];
  const std::u16string units = u"😀";
  const int length = EncodeComposedText(units.data(), int(units.size()), FewCharacters, text);
  SendComposedText(test.recorder, text, length);
  EXPECT_EQ(test.recorder.sent, (Bytes{0x29, 0x21}));
  EXPECT_EQ(test.recorder.LastStatus(), "送信データ：2129, 送信内容：？");
}

// Encoders that answer outside their contract must not break the walk.
int LeadByteOnly(const char16_t*, int, std::uint8_t bytes[2]) {
  bytes[0] = 0x82;
  return 1;
}
int NoLeadByte(const char16_t*, int, std::uint8_t bytes[2]) {
  bytes[0] = 0x41;
  bytes[1] = 0x41;
  return 2;
}
int ZeroByte(const char16_t*, int, std::uint8_t bytes[2]) {
  bytes[0] = 0x00;
  return 1;
}
int TooMany(const char16_t*, int, std::uint8_t[2]) { return 3; }

TEST(ComposedTextEncoding, TakesOnlyWholeCharactersFromTheEncoder) {
  for (Cp932CharacterEncoder encoder : {LeadByteOnly, NoLeadByte, ZeroByte, TooMany}) {
    EXPECT_EQ(Encode(u"x", encoder), (Bytes{0x81, 0x48}));
  }
}

TEST(ComposedTextEncoding, EndsAtANulCharacter) {
  EXPECT_EQ(Encode(std::u16string(u"A") + char16_t(0) + u"A"), Bytes{0x41});
}

TEST(ComposedTextEncoding, KeepsOnlyWholeCharactersThatFitTheCapacity) {
  EXPECT_EQ(Encode(std::u16string(300, u'あ')).size(), 256u);
  const Bytes odd = Encode(u"A" + std::u16string(200, u'あ'));
  EXPECT_EQ(odd.size(), 255u);  // the 128th あ would not fit whole
  EXPECT_EQ(odd[253], 0x82);
  EXPECT_EQ(odd[254], 0xA0);
  EXPECT_EQ(Encode(std::u16string(400, u'A')).size(), 256u);
  EXPECT_EQ(Encode(u"").size(), 0u);
}

}  // namespace
