#include <gtest/gtest.h>

#include "terminal/interpreter/interpreter.h"
#include "terminal/model/screen_model.h"
#include "tests/core/terminal_fixture.h"

namespace {

using TextOutput = TerminalTest;

constexpr std::uint16_t CharA = 0x2341;  // Ａ

TEST_F(TextOutput, CharacterAtColumn98WrapsToTheNextRow) {
  SetCursor(5, 98);
  Feed({CharA});
  EXPECT_EQ(state().screen[5 * 100 + 98], 0x82);
  EXPECT_EQ(state().screen[5 * 100 + 99], 0x60);
  EXPECT_EQ(CursorRow(), 6);
  EXPECT_EQ(CursorCol(), 0);
}

TEST_F(TextOutput, WrapOnTheLastRowScrolls) {
  SetCursor(199, 98);
  Feed({CharA});
  EXPECT_EQ(CursorRow(), 199);
  EXPECT_EQ(CursorCol(), 0);
  EXPECT_EQ(Row(198).substr(Row(198).size() - 3), "Ａ");
  EXPECT_EQ(Row(199), "");
}

TEST_F(TextOutput, WrapWithNewLineMovesTwoRows) {
  state().newLine = 1;
  SetCursor(3, 98);
  Feed(Join({{CharA}, Jis("Ｂ")}));
  EXPECT_EQ(Row(5), "Ｂ");
  EXPECT_EQ(CursorRow(), 5);
  EXPECT_EQ(CursorCol(), 2);
}

TEST_F(TextOutput, WithoutWrapTheLastCellIsOverwritten) {
  state().autoWrap = 0;
  SetCursor(0, 98);
  Feed(Jis("ＡＢ"));
  EXPECT_EQ(CursorCol(), 98);
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(state().screen[98], 0x82);
  EXPECT_EQ(state().screen[99], 0x61);  // Ｂ
}

TEST_F(TextOutput, OddColumnCharacterSpillsIntoTheNextRow) {
  SetCursor(7, 97);
  Feed(Jis("ＡＢ"));
  // Ａ at 97-98, Ｂ at 99 and column 0 of row 8, then the wrap.
  EXPECT_EQ(state().screen[7 * 100 + 99], 0x82);
  EXPECT_EQ(state().screen[8 * 100 + 0], 0x61);
  EXPECT_EQ(CursorRow(), 8);
  EXPECT_EQ(CursorCol(), 0);
}

TEST_F(TextOutput, OddColumnWithoutWrapStaysAt99) {
  state().autoWrap = 0;
  SetCursor(7, 97);
  Feed(Jis("ＡＢ"));
  EXPECT_EQ(CursorCol(), 99);
}

TEST_F(TextOutput, LastCellOfTheScreenPutsItsSecondByteBehindTheScreen) {
  state().autoWrap = 0;
  state().screenEnd = 0xAB00;
  SetCursor(199, 99);
  Feed({CharA});
  EXPECT_EQ(state().screen[ScreenCells - 1], 0x82);
  EXPECT_EQ(state().screenEnd, 0xAB60);
  EXPECT_EQ(CursorCol(), 99);
}

TEST_F(TextOutput, BackSpaceNeverLeavesTheRow) {
  SetCursor(4, 1);
  Feed({0x0008});
  EXPECT_EQ(CursorCol(), 0);
  Feed({0x0008});
  EXPECT_EQ(CursorCol(), 0);
  EXPECT_EQ(CursorRow(), 4);
  SetCursor(4, 10);
  Feed({0x0008});
  EXPECT_EQ(CursorCol(), 8);
  EXPECT_EQ(state().screen[4 * 100 + 8], 0x81);  // nothing erased
}

TEST_F(TextOutput, LineFeedScrollsOnlyFromTheLastRow) {
  Feed(Jis("Ｘ"));
  SetCursor(198, 0);
  Feed({Lf});
  EXPECT_EQ(CursorRow(), 199);
  EXPECT_EQ(Row(0), "Ｘ");
  Feed({Lf});
  EXPECT_EQ(CursorRow(), 199);
  EXPECT_EQ(Row(0), "");
}

TEST_F(TextOutput, CarriageReturnKeepsTheRowUnlessNewLine) {
  SetCursor(3, 20);
  Feed({Cr});
  EXPECT_EQ(CursorRow(), 3);
  EXPECT_EQ(CursorCol(), 0);
  state().newLine = 1;
  SetCursor(3, 20);
  Feed({Cr});
  EXPECT_EQ(CursorRow(), 4);
}

TEST_F(TextOutput, DisplayFormsOfSingleBytesAndOtherWords) {
  Feed({0x0041, 0x00B1, 0x0000, 0x0009, 0x0020, 0x007F, 0x0141, 0x2121, CharA});
  EXPECT_EQ(Row(0), "A.ｱ.？？？？？　Ａ");
}

TEST_F(TextOutput, BellBeeps) {
  Feed({0x0007, 0x0007});
  EXPECT_EQ(events(), (std::vector<std::string>{"beep", "beep"}));
}

TEST_F(TextOutput, CharacterTakesTheCurrentAttributeOnItsFirstCellOnly) {
  state().fgColour = 0x123456;
  state().bgColour = 0x654321;
  state().styleFlags = 0x06;
  Feed({CharA});
  EXPECT_EQ(Attr(0, 0).fg, 0x123456u);
  EXPECT_EQ(Attr(0, 0).bg, 0x654321u);
  EXPECT_EQ(Attr(0, 0).flags, 0x06u);
  EXPECT_EQ(Attr(0, 1).fg, 0u);  // the reset attribute of the connect
  EXPECT_EQ(CellBackground(0, 0), 0x654321u);
}

TEST_F(TextOutput, ScrollKeepsColoursAndBlanksTheBottomInTheDefaults) {
  state().bgColour = 0xFF0000;
  SetCursor(199, 0);
  Feed(Join({Jis("Ａ"), {Lf}}));
  EXPECT_EQ(Attr(198, 0).bg, 0xFF0000u);
  EXPECT_EQ(Attr(199, 0).bg, 0xFFFFFFu);
  EXPECT_EQ(Attr(199, 0).flags, 0x01u);
  EXPECT_EQ(CellBackground(198, 0), 0xFF0000u);
  EXPECT_EQ(CellBackground(199, 0), 0xFFFFFFu);
  EXPECT_EQ(state().screen[199 * 100], 0x81);
  EXPECT_EQ(state().screen[199 * 100 + 1], 0x40);
}

TEST_F(TextOutput, LoneByteWaitsForItsPartner) {
  const std::uint8_t bytes[4] = {0x41, 0x23, 0x42, 0x23};
  term().Receive(bytes, 3);
  EXPECT_EQ(Row(0), "Ａ");
  EXPECT_EQ(CursorCol(), 2);
  EXPECT_EQ(terminal.platform.logFile.bytes, std::vector<std::uint8_t>(bytes, bytes + 2)) << "logged with its partner";
  term().Receive(bytes + 3, 1);
  EXPECT_EQ(Row(0), "ＡＢ");
  EXPECT_EQ(terminal.platform.logFile.bytes, std::vector<std::uint8_t>(bytes, bytes + 4));
}

TEST_F(TextOutput, LocalEchoGathersTheTwoBytesOfAWord) {
  state().localEcho = 1;
  EXPECT_TRUE(term().Transmit(0x41));
  EXPECT_EQ(Row(0), "");
  EXPECT_TRUE(term().Transmit(0x23));
  EXPECT_EQ(Row(0), "Ａ");
  EXPECT_EQ(terminal.platform.statusTexts[1], "");
  EXPECT_TRUE(terminal.platform.logFile.bytes.empty()) << "an echo is not received";
}

TEST_F(TextOutput, EchoedEscapeIsShownNotWaitedFor) {
  state().localEcho = 1;
  term().Transmit(0x1B);
  term().Transmit(0x00);
  EXPECT_EQ(Row(0), "？");
  EXPECT_FALSE(term().Waiting());
  Feed(Jis("＊"));
  EXPECT_EQ(Row(0), "？＊");
}

TEST_F(TextOutput, TransmittedBytesShowInThePaneWithoutLocalEcho) {
  EXPECT_TRUE(term().Transmit(0x41));
  EXPECT_EQ(terminal.platform.statusTexts[1], "送信したバイトデータ：[41]");
  EXPECT_EQ(terminal.platform.sent, (std::vector<std::uint8_t>{0x41}));
}

TEST_F(TextOutput, NothingIsSentOrEchoedOnceDisconnected) {
  state().localEcho = 1;
  term().Disconnect();
  EXPECT_FALSE(term().Transmit(0x41));
  EXPECT_FALSE(term().Transmit(0x23));
  EXPECT_TRUE(terminal.platform.sent.empty());
  EXPECT_EQ(Row(0), "");
}

TEST_F(TextOutput, CursorOutsideTheScreenIsBroughtBackBeforeStoring) {
  SetCursor(500, -3);
  Feed({CharA});
  EXPECT_EQ(Row(199), "Ａ");
}

}  // namespace
