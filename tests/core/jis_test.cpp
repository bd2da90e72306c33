#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "terminal/model/jis.h"

namespace {

// The Shift-JIS bytes iconv gives for a JIS code, through its EUC-JP form;
// empty when the code is not an assigned character.
std::string ShiftJisOf(std::uint16_t jis, const char* target) {
  iconv_t converter = iconv_open(target, "EUC-JP");
  char euc[2] = {char((jis >> 8) | 0x80), char((jis & 0xFF) | 0x80)};
  char sjis[8];
  char* in = euc;
  std::size_t inLeft = 2;
  char* out = sjis;
  std::size_t outLeft = sizeof sjis;
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == std::size_t(-1)) return {};
  return std::string(sjis, sizeof sjis - outLeft);
}

std::string PairBytes(std::uint16_t pair) {
  return std::string{char(pair & 0xFF), char(pair >> 8)};
}

TEST(JisToSjis, AgreesWithIconvForEveryAssignedJisX0208Character) {
  int compared = 0;
  for (int row = 0x21; row <= 0x7E; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      const std::uint16_t jis = std::uint16_t(row << 8 | cell);
      const std::string expected = ShiftJisOf(jis, "SHIFT_JIS");
      if (expected.empty()) continue;
      ASSERT_EQ(PairBytes(JisToSjis(jis)), expected) << std::hex << jis;
      ASSERT_EQ(SjisToJis(JisToSjis(jis)), jis) << std::hex << jis;
      ++compared;
    }
  }
  EXPECT_GE(compared, 6879);  // the characters of JIS X 0208
}

TEST(JisToSjis, RoundTripsEveryCodeOfTheJisRange) {
  for (int row = 0x21; row <= 0x7E; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      const std::uint16_t jis = std::uint16_t(row << 8 | cell);
      ASSERT_EQ(SjisToJis(JisToSjis(jis)), jis) << std::hex << jis;
    }
  }
}

TEST(JisToSjis, WorkedValues) {
  EXPECT_EQ(JisToSjis(0x2341), 0x6082);
  EXPECT_EQ(JisToSjis(0x2422), 0xA082);
  EXPECT_EQ(JisToSjis(0x3021), 0x9F88);
  EXPECT_EQ(JisToSjis(0x5F21), 0x40E0);
  EXPECT_EQ(JisToSjis(0x2D5F), 0x7E87);
  EXPECT_EQ(SjisToJis(0x7E87), 0x2D5F);
}

TEST(JisToSjis, TrailBytesSkip0x7FAndRowsTurnAtTheLeadByteGap) {
  EXPECT_EQ(JisToSjis(0x235F) >> 8, 0x7E);
  EXPECT_EQ(JisToSjis(0x2360) >> 8, 0x80);
  EXPECT_EQ(JisToSjis(0x2421) >> 8, 0x9F);
  EXPECT_EQ(JisToSjis(0x247E) >> 8, 0xFC);
  EXPECT_EQ(JisToSjis(0x5E7E) & 0xFF, 0x9F);
  EXPECT_EQ(JisToSjis(0x5F21) & 0xFF, 0xE0);
}

TEST(JisToSjis, CodesOutsideTheRangeConvertWithoutComplaint) {
  EXPECT_EQ(JisToSjis(0x000D), 0xCF71);
  EXPECT_EQ(JisToSjis(0x0000), 0xC271);
  EXPECT_EQ(SjisToJis(0x40FA), 0x9321);
}

TEST(JisToSjis, RowThirteenSpecialsMatchCodePage932) {
  // Row 13 is not in JIS X 0208 proper; code page 932 places it at lead byte 0x87.
  for (int cell = 0x21; cell <= 0x7E; ++cell) {
    const std::uint16_t jis = std::uint16_t(0x2D00 | cell);
    const std::string expected = ShiftJisOf(jis, "CP932");
    if (!expected.empty()) {
      EXPECT_EQ(PairBytes(JisToSjis(jis)), expected) << std::hex << jis;
    }
  }
}

}  // namespace
