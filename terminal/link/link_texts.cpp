#include "terminal/link/link_texts.h"

#include <cstdio>

std::string LineErrorText(std::uint32_t errors) {
  static constexpr struct {
    std::uint32_t bit;
    const char* name;
  } names[] = {
      {LineErrorBreak, "<BREAK>"},   {LineErrorFrame, "<FRAME>"},       {LineErrorIo, "<IOE>"},
      {LineErrorOverrun, "<OVERRUN>"}, {LineErrorRxOver, "<RXOVER>"}, {LineErrorParity, "<RXPARITY>"},
      {LineErrorTxFull, "<TXFULL>"},
  };
  std::string text = "受信エラー：";
  for (const auto& entry : names) {
    if (errors & entry.bit) text += entry.name;
  }
  return text;
}

std::string ReceivedCountText(int count) {
  char text[64];
  std::snprintf(text, sizeof text, "受信文字数：%d文字数", count);
  return text;
}
