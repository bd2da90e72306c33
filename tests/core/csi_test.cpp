#include <gtest/gtest.h>

#include "terminal/model/screen_model.h"
#include "tests/core/terminal_fixture.h"

namespace {

using CsiSequence = TerminalTest;

const std::string CsiFailure = "message 通信ターミナル|ＣＳＩシーケンス実行出来ない！！";

// CSI followed by text of full-width digits, separators and a final.
std::vector<std::uint16_t> CsiOf(const std::string& text) { return Join({{Csi}, Jis(text)}); }

bool Failed(const std::vector<std::string>& events) {
  return !events.empty() && events.back() == CsiFailure;
}

TEST_F(CsiSequence, PositionFormPlacesAndClampsTheCursor) {
  EXPECT_EQ(Feed(CsiOf("１０；２０Ｈ")), 1);
  EXPECT_EQ(CursorRow(), 10);
  EXPECT_EQ(CursorCol(), 20);
  Feed(CsiOf("２５０；１２０ｆ"));
  EXPECT_EQ(CursorRow(), 198);
  EXPECT_EQ(CursorCol(), 98);
}

TEST_F(CsiSequence, MovesWithAndWithoutParameters) {
  SetCursor(197, 0);
  Feed(CsiOf("５Ｂ"));
  EXPECT_EQ(CursorRow(), 199);
  Feed(CsiOf("Ｂ"));
  EXPECT_EQ(CursorRow(), 199);
  Feed(CsiOf("３Ｃ"));
  EXPECT_EQ(CursorCol(), 3);
  SetCursor(10, 97);
  Feed(CsiOf("Ｃ"));
  EXPECT_EQ(CursorCol(), 98);
  Feed(CsiOf("Ｄ"));
  EXPECT_EQ(CursorCol(), 96);
  Feed(CsiOf("１００Ｄ"));
  EXPECT_EQ(CursorCol(), 0);
  Feed(CsiOf("Ａ"));
  EXPECT_EQ(CursorRow(), 9);
  Feed(CsiOf("Ｍ"));
  EXPECT_EQ(CursorRow(), 8);
  Feed(CsiOf("Ｅ"));
  EXPECT_EQ(CursorRow(), 9);
  Feed(CsiOf("２０Ａ"));
  EXPECT_EQ(CursorRow(), 0);
  Feed(CsiOf("Ｈ"));
  EXPECT_EQ(CursorCol(), 0);
}

TEST_F(CsiSequence, SaveAndRestoreTheCursor) {
  SetCursor(12, 34);
  Feed(CsiOf("ｓ"));
  SetCursor(1, 2);
  Feed(CsiOf("ｕ"));
  EXPECT_EQ(CursorRow(), 12);
  EXPECT_EQ(CursorCol(), 34);
}

TEST_F(CsiSequence, WrongParameterCountsAreErrors) {
  for (const char* text : {"１；２Ａ", "１；２Ｂ", "１；２Ｃ", "１；２Ｄ", "１Ｈ", "１；２；３ｆ",
                           "１；２Ｊ", "１；２Ｋ", "１；２色", "１；２；３；４景", "１；２；３消",
                           "１点", "１；２面", "１ｈ", "１ｌ"}) {
    events().clear();
    EXPECT_EQ(Feed(CsiOf(text)), 0) << text;
    EXPECT_TRUE(Failed(events())) << text;
  }
}

TEST_F(CsiSequence, FinalsThatNeedParametersFailWithout) {
  for (const char* text : {"Ｊ", "Ｋ", "ｍ", "Ｘ", "；Ｈ"}) {
    events().clear();
    EXPECT_EQ(Feed(CsiOf(text)), 0) << text;
    EXPECT_TRUE(Failed(events())) << text;
  }
}

TEST_F(CsiSequence, FourDigitsAndElevenParametersAreErrors) {
  EXPECT_EQ(Feed(CsiOf("１２３４Ｈ")), 0);
  EXPECT_EQ(Feed(CsiOf("０；０；０；０；０；０；０；０；０；０ｍ")), 1);
  EXPECT_EQ(Feed(CsiOf("０；０；０；０；０；０；０；０；０；０；０ｍ")), 0);
}

TEST_F(CsiSequence, EmptyParametersAreZero) {
  SetCursor(50, 50);
  Feed(CsiOf("５；Ｈ"));
  EXPECT_EQ(CursorRow(), 5);
  EXPECT_EQ(CursorCol(), 0);
}

TEST_F(CsiSequence, FailingSequenceStopsTheBlockAfterADump) {
  EXPECT_EQ(Feed(Join({Jis("Ａ"), CsiOf("９Ｊ"), Jis("Ｂ")})), 0);
  EXPECT_EQ(Row(0), "Ａ");
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[0].rfind("message デバッグデータ内容|00000000  009B 2339 234A 2342 ", 0), 0u);
  EXPECT_EQ(events()[1], CsiFailure);
}

TEST_F(CsiSequence, SgrColoursAndReverse) {
  Feed(CsiOf("３１；４４ｍ"));
  EXPECT_EQ(state().fgColour, 0x0000FFu);
  EXPECT_EQ(state().bgColour, 0xFF0000u);
  Feed(CsiOf("７ｍ"));
  EXPECT_EQ(state().fgColour, 0xFF0000u);
  EXPECT_EQ(state().styleFlags & 0x10, 0x10u);
  Feed(CsiOf("２７ｍ"));
  EXPECT_EQ(state().fgColour, 0x0000FFu);
  EXPECT_EQ(state().styleFlags & 0x10, 0u);
  Feed(CsiOf("２７ｍ"));  // swaps whatever the flag says
  EXPECT_EQ(state().fgColour, 0xFF0000u);
}

TEST_F(CsiSequence, SgrStylesEditTheFontSpec) {
  Feed(CsiOf("１；４；６ｍ"));
  EXPECT_EQ(state().fontSpec.lfWeight, 700);
  EXPECT_EQ(state().fontSpec.lfUnderline, 1);
  EXPECT_EQ(state().fontSpec.lfItalic, 1);
  EXPECT_EQ(state().styleFlags, 0x0Fu);
  Feed(CsiOf("２２；２４；２６ｍ"));
  EXPECT_EQ(state().fontSpec.lfWeight, 400);
  EXPECT_EQ(state().fontSpec.lfUnderline, 0);
  EXPECT_EQ(state().fontSpec.lfItalic, 0);
  EXPECT_EQ(state().styleFlags, 0x01u);
}

TEST_F(CsiSequence, SgrResetRestoresDefaultsButKeepsStyleBits) {
  Feed(CsiOf("３１；４２；１ｍ"));
  SetCursor(9, 9);
  Feed(CsiOf("０ｍ"));
  EXPECT_EQ(state().fgColour, 0x000000u);
  EXPECT_EQ(state().bgColour, 0xFFFFFFu);
  EXPECT_EQ(state().styleFlags, 0x03u);
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorCol(), 0);
  // No font chosen yet: the font description becomes all zero.
  EXPECT_EQ(state().fontSpec.lfHeight, 0);
  EXPECT_EQ(state().fontSpec.lfFaceName[0], '\0');
}

TEST_F(CsiSequence, SgrIgnoresUnlistedCodes) {
  Feed(CsiOf("３１ｍ"));
  Feed(CsiOf("２；３８；３９；４８；９９９ｍ"));
  EXPECT_EQ(state().fgColour, 0x0000FFu);
  EXPECT_EQ(state().bgColour, 0xFFFFFFu);
}

TEST_F(CsiSequence, RgbColoursTakeTheLowByte) {
  Feed(CsiOf("２５５；１２８；０色"));
  EXPECT_EQ(state().fgColour, 0x0080FFu);
  Feed(CsiOf("２５６；０；０色"));
  EXPECT_EQ(state().fgColour, 0u);
  Feed(CsiOf("１；２；３景"));
  EXPECT_EQ(state().bgColour, 0x030201u);
}

TEST_F(CsiSequence, PointsOnTheGraphicPlane) {
  Feed(CsiOf("３１ｍ"));
  EXPECT_EQ(Feed(CsiOf("６３９；４７９点")), 1);
  EXPECT_EQ(terminal.plane().Pixel(639, 479), 0x0000FFu);
  EXPECT_EQ(Feed(CsiOf("６４０；０点")), 0);
  EXPECT_EQ(Feed(CsiOf("０；４８０点")), 0);
}

TEST_F(CsiSequence, RectanglesAreWhiteAndBoundsChecked) {
  Feed(CsiOf("４４ｍ"));
  Feed(CsiOf("消"));  // the whole plane in the background colour
  EXPECT_EQ(terminal.plane().Pixel(100, 100), 0xFF0000u);
  EXPECT_EQ(Feed(CsiOf("１０；１０；５；５消")), 1);
  EXPECT_EQ(terminal.plane().Pixel(12, 12), 0xFFFFFFu);
  EXPECT_EQ(terminal.plane().Pixel(15, 15), 0xFF0000u);
  EXPECT_EQ(Feed(CsiOf("７００；１０；５；５消")), 1);
  EXPECT_EQ(Feed(CsiOf("７００；１０；７００；５消")), 0);
  EXPECT_EQ(Feed(CsiOf("１０；５００；５；５００消")), 0);
}

// The window keeps a copy of the plane and copies in only what the plane
// reports as changed since it last looked: the union of the pixels drawn,
// clipped to the plane, and nothing for what changed nothing.
TEST_F(CsiSequence, ThePlaneReportsWhatChangedUntilTheWindowTakesIt) {
  GraphicPlane& plane = terminal.terminal->plane;
  const auto expectDamage = [&plane](int left, int top, int right, int bottom) {
    const PlaneRect damage = plane.TakeDamage();
    EXPECT_EQ(damage.left, left);
    EXPECT_EQ(damage.top, top);
    EXPECT_EQ(damage.right, right);
    EXPECT_EQ(damage.bottom, bottom);
  };
  EXPECT_TRUE(plane.TakeDamage().Empty());
  Feed(CsiOf("６３９；４７９点"));
  Feed(CsiOf("５；７点"));
  expectDamage(5, 7, 640, 480);
  EXPECT_TRUE(plane.TakeDamage().Empty());
  Feed(CsiOf("６３０；４７０；１００；１００消"));
  expectDamage(630, 470, 640, 480);
  EXPECT_EQ(Feed(CsiOf("６４０；０点")), 0);
  EXPECT_EQ(Feed(CsiOf("７００；１０；５；５消")), 1);
  EXPECT_TRUE(plane.TakeDamage().Empty());
  Feed(CsiOf("消"));
  expectDamage(0, 0, 640, 480);
}

TEST_F(CsiSequence, ViewSelectsATab) {
  EXPECT_EQ(Feed(CsiOf("２面")), 1);
  EXPECT_EQ(events().back(), "tab 2");
  EXPECT_EQ(Feed(CsiOf("３面")), 0);
}

TEST_F(CsiSequence, PrivateFormShowsAndHidesTheCaret) {
  const std::uint16_t greater = 0x2164;
  const std::uint16_t five = 0x2335;
  const std::uint16_t one = 0x2331;
  EXPECT_EQ(Feed({Csi, greater, 0x1234, five, 0x4321, 0x006C}), 1);
  EXPECT_EQ(Feed({Csi, greater, 0x1234, five, 0x4321, 0x0068}), 1);
  EXPECT_EQ(Feed({Csi, greater, 0x1234, five, 0x4321, 0x2341}), 1);
  EXPECT_EQ(Feed({Csi, greater, 0x1234, one, 0x4321, 0x006C}), 1);
  EXPECT_EQ(events(), (std::vector<std::string>{"caret show", "caret hide"}));
  EXPECT_EQ(Feed({Csi, greater, 0x1234, 0x2332, 0x4321, 0x006C}), 0);
  EXPECT_EQ(Row(0), "");
}

TEST_F(CsiSequence, WordsAfterAPrivateFormAreInterpreted) {
  Feed({Csi, 0x2164, 0x0000, 0x2331, 0x0000, 0x0000, 0x2341});
  EXPECT_EQ(Row(0), "Ａ");
}

}  // namespace
