#include "tests/input/recording_platform.h"

#include <iconv.h>

#include "terminal/input/key_data.h"

int RecordingPlatform::TransmitByte(Window window, int byte) {
  sent.push_back(std::uint8_t(byte));
  sentTo.push_back(window);
  return 1;
}

void RecordingPlatform::SetStatusText(int pane, std::string_view text, TextCoding coding) {
  statuses.push_back({pane, coding == TextCoding::Cp932 ? Cp932ToUtf8(text) : std::string(text)});
}

std::string RecordingPlatform::LastStatus(int pane) const {
  for (auto it = statuses.rbegin(); it != statuses.rend(); ++it) {
    if (it->pane == pane) return it->utf8;
  }
  return "";
}

std::string Cp932ToUtf8(std::string_view cp932) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == iconv_t(-1)) return "<no CP932 converter>";
  std::string input(cp932);
  std::string output(input.size() * 4 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == std::size_t(-1)) return "<not CP932>";
  output.resize(output.size() - outLeft);
  return output;
}

InputTest::InputTest() : previous(platform) {
  platform = &recorder;
  InitKeyboardState(false, false);
}

InputTest::~InputTest() { platform = previous; }
