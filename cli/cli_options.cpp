#include "cli/cli_options.h"

#include "cli/port_device.h"
#include "cli/tool_platform.h"
#include "terminal/link/line_settings.h"
#include "common/command_line.h"

const char CliUsage[] =
    "usage: talvorix-cli [--port DEVICE|rfc2217://HOST:PORT|socket://HOST:PORT]\n"
    "                    [--speed BPS] [--data-bits 5|6|7|8]\n"
    "                    [--parity none|odd|even|mark|space] [--stop-bits 1|1.5|2]\n"
    "                    [--rts-cts] [--xon-xoff] [--dtr-dsr] [--log FILE] [--trace FILE]\n"
    "                    [--reconnect] [--newline] [--no-wrap] [--local-echo] SCRIPT\n";

namespace {

constexpr const char* ParityNames[] = {"none", "odd", "even", "mark", "space"};

// Stop bits as the settings dialog's list writes them.
bool TakeStopBits(const std::string& text, std::uint8_t& code, std::string& why) {
  for (const ListEntry& entry : StopBitsTable) {
    if (text == entry.text) {
      code = std::uint8_t(entry.value);
      return true;
    }
  }
  why = "not 1, 1.5 or 2";
  return false;
}

bool TakeParity(const std::string& text, std::uint8_t& code, std::string& why) {
  for (std::uint8_t parity = ParityNone; parity <= ParitySpace; ++parity) {
    if (text == ParityNames[parity]) {
      code = parity;
      return true;
    }
  }
  why = "not none, odd, even, mark or space";
  return false;
}

// Any speed a number can say here; CheckLineSettings then keeps those of the list.
bool TakeSpeed(const std::string& text, std::uint32_t& speed, std::string& why) {
  long number = 0;
  if (!TakeNumber(text, 1, 999999999, number, why)) return false;
  speed = std::uint32_t(number);
  return true;
}

bool TakeDataBits(const std::string& text, std::uint8_t& bits, std::string& why) {
  long number = 0;
  if (!TakeNumber(text, 5, 8, number, why)) return false;
  bits = std::uint8_t(number);
  return true;
}


TakeValue AddFlow(std::uint8_t& flowControl, std::uint8_t flow) {
  return [&flowControl, flow](const std::string&, std::string&) {
    flowControl |= flow;
    return true;
  };
}

// The words of the options that set the line.
std::vector<ToolOption> LineOptions(LineSettings& line) {
  return {{"speed", "BPS", Into(TakeSpeed, line.baudRate)},
          {"data-bits", "5|6|7|8", Into(TakeDataBits, line.dataBits)},
          {"parity", "none|odd|even|mark|space", Into(TakeParity, line.parity)},
          {"stop-bits", "1|1.5|2", Into(TakeStopBits, line.stopBits)},
          {"rts-cts", nullptr, AddFlow(line.flowControl, FlowRtsCts)},
          {"xon-xoff", nullptr, AddFlow(line.flowControl, FlowXonXoff)},
          {"dtr-dsr", nullptr, AddFlow(line.flowControl, FlowDtrDsr)}};
}

// The whole command line: the line's options, the port, the log, automatic
// reconnect, the terminal's options and one script.
ToolCommandLine CliCommandLine(CliOptions& options) {
  SessionSettings& session = options.session;
  ToolCommandLine line{LineOptions(session.line), OnlyFile(options.scriptPath, "SCRIPT")};
  line.options.insert(line.options.end(),
                      {{"port", "DEVICE", Into(TakePort, session.portPath)},
                       {"log", "FILE", Into(TakeFileName, session.logPath)},
                       {"trace", "FILE", Into(TakeFileName, session.tracePath)},
                       {"reconnect", nullptr, SetFlag(session.reconnect)},
                       {"newline", nullptr, SetFlag(session.terminal.newLine)},
                       {"no-wrap", nullptr, SetFlag(session.terminal.noWrap)},
                       {"local-echo", nullptr, SetFlag(session.terminal.localEcho)}});
  return line;
}

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error) {
  options.session.portPath = DefaultPort;
  if (!ReadCommandLine(argc, argv, CliCommandLine(options), error)) return false;
  if (options.scriptPath.empty()) {
    error = "no SCRIPT";
    return false;
  }
  return CheckLineSettings(options.session.line, error);
}
