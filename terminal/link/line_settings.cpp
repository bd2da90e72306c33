#include "terminal/link/line_settings.h"

const ListEntry BaudRateTable[25] = {
    {"4800", 4800},       {"9600", 9600},       {"28800", 28800},     {"38400", 38400},
    {"51200", 51200},     {"56000", 56000},     {"57600", 57600},     {"64000", 64000},
    {"76800", 76800},     {"115.2k", 115200},   {"128k", 128000},     {"153.6k", 153600},
    {"230.4k", 230400},   {"250k", 250000},     {"312.5k", 312500},   {"375k", 375000},
    {"460.8k", 460800},   {"500k", 500000},     {"600k", 600000},     {"750K", 750000},
    {"800K", 800000},     {"960K", 960000},     {"1000k", 1000000},   {"2000k", 2000000},
    {"3000k", 3000000},
};

// Listed by how often they are wanted, not by the line's parity code.
const ListEntry ParityTable[5] = {
    {"なし", ParityNone}, {"偶数", ParityEven}, {"奇数", ParityOdd}, {"マーク", ParityMark}, {"スペース", ParitySpace},
};

const ListEntry StopBitsTable[3] = {
    {"1", StopBitsOne}, {"1.5", StopBitsOneAndHalf}, {"2", StopBitsTwo},
};

namespace {

constexpr char ParityLetters[] = "NOEMS";

bool ListedSpeed(std::uint32_t baudRate) {
  for (const ListEntry& entry : BaudRateTable) {
    if (entry.value == baudRate) return true;
  }
  return false;
}

bool StopBitsFitDataBits(const LineSettings& settings) {
  if (settings.stopBits == StopBitsOneAndHalf) return settings.dataBits == FewestDataBits;
  if (settings.stopBits == StopBitsTwo) return settings.dataBits != FewestDataBits;
  return settings.stopBits == StopBitsOne;
}

}  // namespace

LineSettings LineSettingsOf(const TerminalState& state) {
  return LineSettings{state.baudRate, state.byteSize, state.parity, state.stopBits, state.flowControl};
}

void StoreLineSettings(const LineSettings& settings, TerminalState& state) {
  state.baudRate = settings.baudRate;
  state.byteSize = settings.dataBits;
  state.parity = settings.parity;
  state.stopBits = settings.stopBits;
  state.flowControl = settings.flowControl;
}

bool CheckLineSettings(const LineSettings& settings, std::string& error) {
  if (!ListedSpeed(settings.baudRate)) {
    error = "speed " + std::to_string(settings.baudRate) + " bit/s is not one of the line settings' speeds";
  } else if (settings.dataBits < FewestDataBits || settings.dataBits > MostDataBits) {
    error = std::to_string(settings.dataBits) + " data bits: a line has 5 to 8";
  } else if (settings.parity > ParitySpace) {
    error = "unknown parity";
  } else if (!StopBitsFitDataBits(settings)) {
    error = std::string(settings.stopBits <= StopBitsTwo ? StopBitsTable[settings.stopBits].text : "?") +
            " stop bits do not go with " + std::to_string(settings.dataBits) +
            " data bits (1.5 only with 5, 2 only with 6 to 8)";
  } else {
    return true;
  }
  return false;
}

std::string DescribeLineSettings(const LineSettings& settings) {
  std::string text = std::to_string(settings.baudRate) + " bit/s " + std::to_string(settings.dataBits) +
                     ParityLetters[settings.parity % 5] + StopBitsTable[settings.stopBits % 3].text;
  if (settings.flowControl & FlowDtrDsr) text += " DTR/DSR";
  if (settings.flowControl & FlowRtsCts) text += " RTS/CTS";
  if (settings.flowControl & FlowXonXoff) text += " XON/XOFF";
  return text;
}
