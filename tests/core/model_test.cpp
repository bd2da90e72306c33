#include <gtest/gtest.h>

#include <cstring>

#include "terminal/model/draw_queue.h"
#include "terminal/model/screen_model.h"
#include "tests/core/terminal_fixture.h"

namespace {

TEST(ScreenModel, NewRecordHasTheStartingValues) {
  TerminalState state{};
  InitTerminalState(state, 0x112233, 0x445566);
  EXPECT_EQ(state.portNumber, 5);
  EXPECT_EQ(state.baudRate, 1000000u);
  EXPECT_EQ(state.byteSize, 8);
  EXPECT_EQ(state.parity, 0);
  EXPECT_EQ(state.stopBits, 0);
  EXPECT_EQ(state.flowControl, 0);
  EXPECT_EQ(state.autoWrap, 1);
  EXPECT_EQ(state.newLine, 0);
  EXPECT_EQ(state.localEcho, 0);
  EXPECT_EQ(state.displayErrors, 1);
  EXPECT_EQ(state.useCnReceive, 1);
  EXPECT_FALSE(state.connected);
  EXPECT_EQ(state.cursorRow, 0);
  EXPECT_EQ(state.cursorCol, 0);
  EXPECT_EQ(state.fgColour, 0x112233u);
  EXPECT_EQ(state.resetDefaults.bgColour, 0x445566u);
  EXPECT_EQ(state.fontSpec.lfHeight, 14);
  EXPECT_EQ(state.fontSpec.lfWeight, 400);
  EXPECT_EQ(state.fontSpec.lfCharSet, 128);
  EXPECT_EQ(state.fontSpec.lfPitchAndFamily, 0x31);
  EXPECT_STREQ(state.fontSpec.lfFaceName, "FixedSys");
  for (int i = 0; i < ScreenColumns; i += 2) {
    ASSERT_EQ(blankRow[i], 0x81);
    ASSERT_EQ(blankRow[i + 1], 0x40);
  }
  for (const std::uint8_t byte : state.screen) ASSERT_EQ(byte, 0);
}

TEST(ScreenModel, CopyFontSpecCopiesEveryFieldAndTerminatesTheName) {
  FontSpec source;
  std::memset(&source, 0x5A, sizeof source);  // a face name without its terminator
  FontSpec copy;
  std::memset(&copy, 0, sizeof copy);
  CopyFontSpec(source, copy);
  EXPECT_EQ(copy.lfHeight, source.lfHeight);
  EXPECT_EQ(copy.lfPitchAndFamily, source.lfPitchAndFamily);
  EXPECT_EQ(std::strlen(copy.lfFaceName), 31u);
}

using FontApplication = TerminalTest;

TEST_F(FontApplication, CanvasSizeFollowsTheCell) {
  EXPECT_EQ(state().cellWidth, 8);
  EXPECT_EQ(state().cellHeight, 15);
  EXPECT_EQ(terminal.platform.text.width, 900);
  EXPECT_EQ(terminal.platform.text.height, 3100);
}

TEST_F(FontApplication, WhileDisconnectedTheNewCanvasStaysWhite) {
  Feed(Join({{Csi}, Jis("４４ｍ"), Jis("ＡＢ")}));
  state().connected = false;
  state().fontSpec.lfWidth = 10;
  ApplyFontSpec(term());
  EXPECT_EQ(CellBackground(0, 0), 0xFFFFFFu);
  EXPECT_EQ(Row(0), "ＡＢ");  // the model stays
}

TEST_F(FontApplication, WhileConnectedEveryCellIsRedrawnWithItsEvenCellsAttribute) {
  Feed(Join({{Csi}, Jis("４４ｍ"), Jis("Ａ"), {Csi}, Jis("４１ｍ"), Jis("Ｂ")}));
  state().cellAttrs[1].bg = 0x00FF00;  // the odd cell of Ａ: not used
  state().fontSpec.lfWidth = 10;
  ApplyFontSpec(term());
  EXPECT_EQ(state().cellWidth, 10);
  EXPECT_EQ(CellBackground(0, 0), 0xFF0000u);
  EXPECT_EQ(CellBackground(0, 1), 0xFF0000u);
  EXPECT_EQ(CellBackground(0, 2), 0x0000FFu);
  EXPECT_EQ(CellBackground(0, 4), 0xFFFFFFu);
}

TEST_F(FontApplication, ConnectResetsScreenAndColoursButNotTheCursor) {
  state().resetDefaults.fgColour = 0x0000AA;
  state().resetDefaults.bgColour = 0x00AA00;
  Feed(Join({{Csi}, Jis("４４；１ｍ"), Jis("ＡＢ")}));
  ResetScreenModel(term());
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(state().screen[0], 0x81);
  EXPECT_EQ(state().fgColour, 0x0000AAu);
  EXPECT_EQ(state().styleFlags, 0x01u);
  EXPECT_EQ(state().defaultAttr.bg, 0x00AA00u);
  EXPECT_EQ(Attr(150, 51).bg, 0x00AA00u);
  EXPECT_EQ(CursorCol(), 4);
  EXPECT_EQ(CellBackground(0, 0), 0x00AA00u);
  EXPECT_EQ(CellBackground(199, 98), 0x00AA00u);
}

}  // namespace
