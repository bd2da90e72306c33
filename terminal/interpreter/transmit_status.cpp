#include "terminal/interpreter/transmit_status.h"

#include <cstdio>

std::string TransmittedByteText(int byte) {
  char text[64];
  std::snprintf(text, sizeof text, "送信したバイトデータ：[%02X]", byte & 0xFF);
  return text;
}
