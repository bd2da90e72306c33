#include "tools/cli/line_settings.h"

#include "terminal/link/settings/settings_lists.h"

namespace {

constexpr char ParityLetters[] = "NOEMS";
constexpr const char* StopBitsTexts[] = {"1", "1.5", "2"};

bool StopBitsFitDataBits(const LineSettings& settings) {
  if (settings.stopBits == StopBitsOneAndHalf) return settings.dataBits == 5;
  if (settings.stopBits == StopBitsTwo) return settings.dataBits != 5;
  return settings.stopBits == StopBitsOne;
}

}  // namespace

bool CheckLineSettings(const LineSettings& settings, std::string& error) {
  if (PositionOfValue(BaudRateList, settings.baudRate) == NoSelection) {
    error = "speed " + std::to_string(settings.baudRate) + " bit/s is not one of the line settings' speeds";
  } else if (DataBitsPosition(settings.dataBits) == NoSelection) {
    error = std::to_string(settings.dataBits) + " data bits: a line has 5 to 8";
  } else if (settings.parity > ParitySpace) {
    error = "unknown parity";
  } else if (!StopBitsFitDataBits(settings)) {
    error = std::string(settings.stopBits <= StopBitsTwo ? StopBitsTexts[settings.stopBits] : "?") +
            " stop bits do not go with " + std::to_string(settings.dataBits) +
            " data bits (1.5 only with 5, 2 only with 6 to 8)";
  } else {
    return true;
  }
  return false;
}

std::string DescribeLineSettings(const LineSettings& settings) {
  std::string text = std::to_string(settings.baudRate) + " bit/s " + std::to_string(settings.dataBits) +
                     ParityLetters[settings.parity % 5] + StopBitsTexts[settings.stopBits % 3];
  if (settings.flowControl & FlowDtrDsr) text += " DTR/DSR";
  if (settings.flowControl & FlowRtsCts) text += " RTS/CTS";
  if (settings.flowControl & FlowXonXoff) text += " XON/XOFF";
  return text;
}
