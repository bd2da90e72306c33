#include <gtest/gtest.h>

#include <cstring>

#include "terminal/interpreter/screen_edit.h"
#include "tests/core/terminal_fixture.h"

namespace {

using ScreenEdit = TerminalTest;

std::vector<std::uint16_t> CsiOf(const std::string& text) { return Join({{Csi}, Jis(text)}); }

class EraseDisplayTest : public TerminalTest {
 protected:
  void SetUp() override {
    TerminalTest::SetUp();
    std::memset(state().screen, 'x', ScreenCells);
    Feed(CsiOf("４４ｍ"));  // erased cells take the blue background
  }
  bool Erased(int index) const {
    return state().screen[index] == 0x20 && state().cellAttrs[index].bg == 0xFF0000u;
  }
  bool Kept(int index) const {
    return state().screen[index] == 'x' && state().cellAttrs[index].bg == 0xFFFFFFu;
  }
};

TEST_F(EraseDisplayTest, ModeZeroFromTheSplitCell) {
  SetCursor(10, 20);
  Feed(CsiOf("０Ｊ"));
  EXPECT_TRUE(Kept(9 * 100 + 19));
  EXPECT_TRUE(Erased(9 * 100 + 20));
  EXPECT_TRUE(Erased(ScreenCells - 1));
  EXPECT_EQ(CursorRow(), 10);
  EXPECT_EQ(CellBackground(9, 18), 0xFFFFFFu);
  EXPECT_EQ(CellBackground(9, 20), 0xFF0000u);
  EXPECT_EQ(CellBackground(199, 98), 0xFF0000u);
}

TEST_F(EraseDisplayTest, ModeOneUpToTheSplitCell) {
  SetCursor(10, 20);
  Feed(CsiOf("１Ｊ"));
  EXPECT_TRUE(Erased(0));
  EXPECT_TRUE(Erased(9 * 100 + 19));
  EXPECT_TRUE(Kept(9 * 100 + 20));
  EXPECT_EQ(CellBackground(8, 98), 0xFF0000u);
  EXPECT_EQ(CellBackground(9, 18), 0xFF0000u);
  EXPECT_EQ(CellBackground(9, 20), 0xFFFFFFu);
}

TEST_F(EraseDisplayTest, ModeOneAtAnOddSplitClearsTextInPairs) {
  SetCursor(1, 5);  // split cell 5
  Feed(CsiOf("１Ｊ"));
  EXPECT_TRUE(Erased(3));
  EXPECT_EQ(state().screen[4], 'x');  // text cleared in pairs: 4 bytes
  EXPECT_EQ(state().cellAttrs[4].bg, 0xFF0000u);  // attributes: all 5 cells
  EXPECT_TRUE(Kept(5));
}

TEST_F(EraseDisplayTest, ModeOneOnRowZeroChangesNothing) {
  SetCursor(0, 50);
  Feed(CsiOf("１Ｊ"));
  EXPECT_TRUE(Kept(0));
  EXPECT_TRUE(Kept(49));
  EXPECT_EQ(CellBackground(0, 0), 0xFFFFFFu);
}

TEST_F(EraseDisplayTest, ModeZeroOnRowZeroClearsEverythingWithoutMoving) {
  SetCursor(0, 50);
  Feed(CsiOf("０Ｊ"));
  EXPECT_TRUE(Erased(0));
  EXPECT_TRUE(Erased(ScreenCells - 1));
  EXPECT_EQ(CursorCol(), 50);
  EXPECT_EQ(CellBackground(0, 0), 0xFF0000u);
}

TEST_F(EraseDisplayTest, ModeTwoClearsAllAndHomes) {
  SetCursor(77, 33);
  Feed(CsiOf("２Ｊ"));
  EXPECT_TRUE(Erased(0));
  EXPECT_TRUE(Erased(ScreenCells - 1));
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorCol(), 0);
  // The canvas margins too.
  const Raster& text = terminal.platform.text;
  EXPECT_EQ(CellBackground(0, 0), 0xFF0000u);
  EXPECT_EQ(RasterPixel(text, text.width - 1, text.height - 1), 0xFF0000u);
}

TEST_F(EraseDisplayTest, OtherModesAreErrors) {
  EXPECT_EQ(Feed(CsiOf("３Ｊ")), 0);
  EXPECT_TRUE(Kept(0));
  EraseDisplay(term(), 7);
  EXPECT_TRUE(Kept(0));
}

TEST_F(ScreenEdit, EscClearIsEraseDisplayTwo) {
  Feed(Jis("ＡＢＣ"));
  Feed({Esc, 0x2176});
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(state().screen[0], 0x20);
  EXPECT_EQ(CursorCol(), 0);
}

TEST_F(ScreenEdit, EraseLineModeZeroWithoutWrapKeepsTheCursor) {
  state().autoWrap = 0;
  Feed(Jis("ＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡ"));
  SetCursor(0, 40);
  Feed(CsiOf("０Ｋ"));
  EXPECT_EQ(Row(0), "ＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡ");
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorCol(), 40);
  EXPECT_EQ(state().screen[40], 0x81);
  EXPECT_EQ(state().screen[41], 0x40);
}

TEST_F(ScreenEdit, EraseLineModeZeroWithWrapEndsOneRowLower) {
  SetCursor(3, 40);
  Feed(CsiOf("０Ｋ"));
  EXPECT_EQ(CursorRow(), 4);
  EXPECT_EQ(CursorCol(), 40);
}

// From an odd column the blanks end at column 97: nothing lands on column 99,
// whose second byte is column 0 of the next row, and nothing wraps.
TEST_F(ScreenEdit, EraseLineModeZeroFromAnOddColumnStopsBeforeColumn99) {
  Feed(std::vector<std::uint16_t>(100, 0x2341));  // rows 0 and 1 full of Ａ
  Feed(CsiOf("０；４１Ｈ"));
  Feed(CsiOf("０Ｋ"));
  EXPECT_EQ(state().screen[97], 0x81);
  EXPECT_EQ(state().screen[98], 0x40);
  EXPECT_EQ(state().screen[99], 0x60);  // the second byte of the Ａ at column 98
  EXPECT_EQ(Row(1).substr(0, 3), "Ａ");
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorCol(), 41);
}

TEST_F(ScreenEdit, EraseLineModeZeroAtColumn99WritesNothing) {
  Feed(std::vector<std::uint16_t>(100, 0x2341));
  SetCursor(0, 99);
  Feed(CsiOf("０Ｋ"));
  EXPECT_EQ(state().screen[99], 0x60);
  EXPECT_EQ(Row(1).substr(0, 3), "Ａ");
  EXPECT_EQ(CursorRow(), 0);
  EXPECT_EQ(CursorCol(), 99);
}

TEST_F(ScreenEdit, EraseLineModeOneAtAnOddColumn) {
  Feed(Jis("ＡＡＡＡＡＡ"));
  SetCursor(0, 7);
  Feed(CsiOf("４４ｍ"));
  Feed(CsiOf("１Ｋ"));
  EXPECT_EQ(CursorCol(), 8);
  EXPECT_EQ(Row(0), "　　　　ＡＡ");
  EXPECT_EQ(Attr(0, 6).bg, 0xFF0000u);
  EXPECT_EQ(Attr(0, 8).bg, 0xFFFFFFu);
}

TEST_F(ScreenEdit, EraseLineModeTwoBlanksTheRowWithUnderline) {
  Feed(Jis("ＡＢ"));
  state().autoWrap = 0;
  SetCursor(0, 10);
  Feed(CsiOf("４ｍ"));
  Feed(CsiOf("２Ｋ"));
  EXPECT_EQ(Row(0), "");
  EXPECT_EQ(CursorCol(), 0);
  EXPECT_EQ(Attr(0, 0).flags & 0x04, 0x04u);
  EXPECT_EQ(Attr(0, 98).flags & 0x04, 0x04u);
  EXPECT_EQ(Feed(CsiOf("３Ｋ")), 0);
}

TEST_F(ScreenEdit, EraseLineModeTwoOnTheLastRowScrolls) {
  Feed(Jis("Ｑ"));
  SetCursor(199, 10);
  Feed(CsiOf("２Ｋ"));
  EXPECT_EQ(CursorRow(), 199);
  EXPECT_EQ(CursorCol(), 0);
  EXPECT_EQ(Row(0), "");  // the first row scrolled away
}

TEST_F(ScreenEdit, ScrollUpMovesTextAndAttributes) {
  Feed(CsiOf("３２ｍ"));
  SetCursor(1, 0);
  Feed(Jis("Ｇ"));
  ScrollUp(term());
  EXPECT_EQ(Row(0), "Ｇ");
  EXPECT_EQ(Attr(0, 0).fg, 0x00FF00u);
  EXPECT_EQ(CursorRow(), 1);
}

}  // namespace
