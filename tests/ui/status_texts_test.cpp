#include "terminal/ui/status_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusTexts, ConnectionMarks) {
  EXPECT_EQ(std::string(ConnectedMark), "[\xE2\x97\x8F]");
  EXPECT_EQ(std::string(DisconnectedMark), "[\xC3\x97]");
}

TEST(StatusTexts, KeyCodeIsTwoLowerCaseHexDigits) {
  EXPECT_EQ(KeyCodeText(0x1e), "[1e]");
  EXPECT_EQ(KeyCodeText(0x5), "[05]");
  EXPECT_EQ(KeyCodeText(0x141), "[141]");
}

TEST(StatusTexts, DumpFigures) {
  EXPECT_EQ(DumpFiguresText(0x3a, 3, 10, 0x1d6, 0x210),
            "カウント：3a,表示行：3,最後の個数：10最初：1d6,最後：210");
}

}  // namespace
