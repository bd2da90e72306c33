#include "terminal/ui/status_texts.h"

#include <cstdio>

const char* const ConnectedMark = "[●]";
const char* const DisconnectedMark = "[×]";
const char* const WaitingMark = "[○]";
const char* const WaitingForDeviceText = "通信端子が切断されました。再接続を待っています";
const char* const ReconnectedText = "再接続しました";

std::string KeyCodeText(unsigned code) {
  char text[16];
  std::snprintf(text, sizeof text, "[%02x]", code);
  return text;
}

std::string DumpFiguresText(std::int32_t count, std::int32_t full, std::int32_t tail,
                            std::int32_t start, std::int32_t end) {
  char text[160];
  std::snprintf(text, sizeof text, "カウント：%x,表示行：%d,最後の個数：%d最初：%x,最後：%x",
                unsigned(count), int(full), int(tail), unsigned(start), unsigned(end));
  return text;
}
