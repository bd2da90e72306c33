#include "tests/input/recording_platform.h"

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

InputTest::InputTest() : previous(platform) {
  platform = &recorder;
  InitKeyboardState(false, false);
}

InputTest::~InputTest() { platform = previous; }
