#include "tools/cli/cli_options.h"

#include "terminal/link/settings/settings_lists.h"
#include "tools/cli/script_words.h"

const char CliUsage[] =
    "usage: talvorix-cli [--port DEVICE] [--speed BPS] [--data-bits 5|6|7|8]\n"
    "                    [--parity none|odd|even|mark|space] [--stop-bits 1|1.5|2]\n"
    "                    [--rts-cts] [--xon-xoff] [--dtr-dsr] [--log FILE]\n"
    "                    [--newline] [--no-wrap] [--local-echo] SCRIPT\n";

namespace {

constexpr const char* DefaultPort = "/dev/ttyUSB0";
constexpr const char* ParityNames[] = {"none", "odd", "even", "mark", "space"};

// Stop bits as the settings dialog's list writes them.
bool ParseStopBits(const std::string& text, std::uint8_t& code) {
  for (const ListEntry& entry : StopBitsTable) {
    if (text == entry.text) {
      code = std::uint8_t(entry.value);
      return true;
    }
  }
  return false;
}

bool ParseParity(const std::string& text, std::uint8_t& code) {
  for (std::uint8_t parity = ParityNone; parity <= ParitySpace; ++parity) {
    if (text == ParityNames[parity]) {
      code = parity;
      return true;
    }
  }
  return false;
}

bool ParseFlag(const std::string& argument, CliOptions& options) {
  LineSettings& line = options.session.line;
  TerminalOptions& terminal = options.session.terminal;
  if (argument == "--rts-cts") {
    line.flowControl |= FlowRtsCts;
  } else if (argument == "--xon-xoff") {
    line.flowControl |= FlowXonXoff;
  } else if (argument == "--dtr-dsr") {
    line.flowControl |= FlowDtrDsr;
  } else if (argument == "--newline") {
    terminal.newLine = true;
  } else if (argument == "--no-wrap") {
    terminal.noWrap = true;
  } else if (argument == "--local-echo") {
    terminal.localEcho = true;
  } else {
    return false;
  }
  return true;
}

bool ParseNumberValue(const std::string& option, const std::string& value, LineSettings& line) {
  int number = 0;
  if (option == "--speed" && ParseNumberIn(value, 1, 999999999, number)) {
    line.baudRate = std::uint32_t(number);
  } else if (option == "--data-bits" && ParseNumberIn(value, 0, 99, number)) {
    line.dataBits = std::uint8_t(number);
  } else {
    return false;
  }
  return true;
}

bool ParseValue(const std::string& option, const std::string& value, CliOptions& options) {
  LineSettings& line = options.session.line;
  if (value.empty()) return false;
  if (option == "--port") {
    options.session.portPath = value;
  } else if (option == "--log") {
    options.session.logPath = value;
  } else if (option == "--parity") {
    return ParseParity(value, line.parity);
  } else if (option == "--stop-bits") {
    return ParseStopBits(value, line.stopBits);
  } else {
    return ParseNumberValue(option, value, line);
  }
  return true;
}

bool ParseArgument(int argc, const char* const* argv, int& i, CliOptions& options) {
  const std::string argument = argv[i];
  if (ParseFlag(argument, options)) return true;
  if (argument.size() > 1 && argument[0] == '-') return ++i < argc && ParseValue(argument, argv[i], options);
  if (!options.scriptPath.empty()) return false;
  options.scriptPath = argument;
  return true;
}

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error) {
  options.session.portPath = DefaultPort;
  for (int i = 1; i < argc; ++i) {
    const int at = i;
    if (!ParseArgument(argc, argv, i, options)) {
      error = std::string("wrong argument: ") + argv[at] + (i > at && i < argc ? std::string(" ") + argv[i] : "");
      return false;
    }
  }
  if (options.scriptPath.empty()) {
    error = "no script";
    return false;
  }
  return CheckLineSettings(options.session.line, error);
}
