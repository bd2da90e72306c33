#include "terminal/ui/status_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusTexts, ConnectionMarks) {
  EXPECT_EQ(std::string(ConnectedMark), "[\xE2\x97\x8F]");
  EXPECT_EQ(std::string(DisconnectedMark), "[\xC3\x97]");
  EXPECT_EQ(std::string(WaitingMark), "[\xE2\x97\x8B]");
}

TEST(StatusTexts, ReconnectTexts) {
  EXPECT_EQ(std::string(WaitingForDeviceText),
            "\xE9\x80\x9A\xE4\xBF\xA1\xE7\xAB\xAF\xE5\xAD\x90\xE3\x81\x8C\xE5\x88\x87\xE6\x96\xAD"
            "\xE3\x81\x95\xE3\x82\x8C\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82"
            "\xE5\x86\x8D\xE6\x8E\xA5\xE7\xB6\x9A\xE3\x82\x92\xE5\xBE\x85\xE3\x81\xA3\xE3\x81\xA6"
            "\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x99");
  EXPECT_EQ(std::string(ReconnectedText),
            "\xE5\x86\x8D\xE6\x8E\xA5\xE7\xB6\x9A\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F");
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
