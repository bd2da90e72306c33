#include "terminal/link/settings/font_face_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

FontSpec FilledFont() {
  FontSpec font{};
  std::memset(font.lfFaceName, 'x', sizeof font.lfFaceName);
  return font;
}

TEST(FaceName, AShortNameIsStoredWithItsTerminator) {
  FontSpec font = FilledFont();
  StoreFaceName("FixedSys", font);
  EXPECT_STREQ(font.lfFaceName, "FixedSys");
  EXPECT_EQ(FaceNameOf(font), "FixedSys");
  for (std::size_t i = 8; i < sizeof font.lfFaceName; ++i) EXPECT_EQ(font.lfFaceName[i], '\0');
}

TEST(FaceName, AJapaneseNameKeepsItsShiftJisBytes) {
  const std::string gothic = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
  FontSpec font = FilledFont();
  StoreFaceName(gothic, font);
  EXPECT_EQ(FaceNameOf(font), gothic);
}

TEST(FaceName, ThirtyOneBytesFitExactly) {
  const std::string name(31, 'a');
  FontSpec font = FilledFont();
  StoreFaceName(name, font);
  EXPECT_EQ(FaceNameOf(font), name);
  EXPECT_EQ(font.lfFaceName[31], '\0');
}

TEST(FaceName, ALongerNameIsCutAndStillTerminated) {
  FontSpec font = FilledFont();
  StoreFaceName(std::string(40, 'b'), font);
  EXPECT_EQ(FaceNameOf(font), std::string(31, 'b'));
  EXPECT_EQ(font.lfFaceName[31], '\0');
}

TEST(FaceName, ACutNeverSplitsADoubleByteCharacter) {
  // 30 single bytes, then a pair that would end at byte 32.
  const std::string name = std::string(30, 'c') + "\x83\x53";
  FontSpec font = FilledFont();
  StoreFaceName(name, font);
  EXPECT_EQ(FaceNameOf(font), std::string(30, 'c'));
}

TEST(FaceName, APairEndingAtByte31IsKept) {
  const std::string name = std::string(29, 'c') + "\x83\x53" + "d";
  FontSpec font = FilledFont();
  StoreFaceName(name, font);
  EXPECT_EQ(FaceNameOf(font), std::string(29, 'c') + "\x83\x53");
}

TEST(FaceName, AHalfPairAtTheEndOfTheInputIsDropped) {
  FontSpec font = FilledFont();
  StoreFaceName(std::string("ab\x83", 3), font);
  EXPECT_EQ(FaceNameOf(font), "ab");
}

TEST(FaceName, HalfWidthKatakanaAreSingleBytes) {
  const std::string name = std::string(30, 'e') + "\xB1\xB2";  // ｱｲ
  FontSpec font = FilledFont();
  StoreFaceName(name, font);
  EXPECT_EQ(FaceNameOf(font), std::string(30, 'e') + "\xB1");
}

TEST(FaceName, AnEmptyNameClearsTheField) {
  FontSpec font = FilledFont();
  StoreFaceName("", font);
  EXPECT_EQ(FaceNameOf(font), "");
}

TEST(FaceName, AFieldWithoutTerminatorIsReadToItsEnd) {
  FontSpec font = FilledFont();
  EXPECT_EQ(FaceNameOf(font).size(), 32u);
}

}  // namespace
