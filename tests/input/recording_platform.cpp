#include "tests/input/recording_platform.h"

#include "terminal/input/key_data.h"

void RecordingOutput::SendFromUser(const std::uint8_t* bytes, int length) {
  sent.insert(sent.end(), bytes, bytes + length);
  sendSizes.push_back(length);
}

void RecordingOutput::KeyStatus(std::string_view text, TextCoding coding) {
  statuses.push_back(coding == TextCoding::Cp932 ? Cp932ToUtf8(text) : std::string(text));
}

std::string RecordingOutput::LastStatus() const { return statuses.empty() ? "" : statuses.back(); }

InputTest::InputTest() { InitKeyboardState(keyboard.Key_Data, false, false); }
