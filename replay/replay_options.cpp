#include "replay/replay_options.h"

#include "common/command_line.h"

const char ReplayUsage[] =
    "usage: talvorix-replay [--newline] [--no-wrap] [--local-echo] [--graphic FILE.png]\n"
    "                       [--picture FILE.png [--rows FIRST-LAST]]\n"
    "                       (INPUT | --log Talvorix.log [--session N]\n"
    "                        | --trace Talvorix.trace [--session N] [--until SECONDS])\n";

namespace {

// "FIRST-LAST": screen rows from 0 to 199, FIRST not after LAST.
bool TakeRows(const std::string& text, RowRange& rows, std::string& why) {
  const std::size_t dash = text.find('-');
  long first = 0;
  long last = 0;
  if (dash == std::string::npos || !TakeNumber(text.substr(0, dash), 0, ScreenRows - 1, first, why) ||
      !TakeNumber(text.substr(dash + 1), 0, ScreenRows - 1, last, why)) {
    why = "not FIRST-LAST with rows from 0 to " + std::to_string(ScreenRows - 1);
    return false;
  }
  rows = RowRange{int(first), int(last)};
  why = "the first row is after the last";
  return first <= last;
}

// Seconds since the connection started, to the millisecond: "12", "12.5", "0.125".
bool TakeSeconds(const std::string& text, std::uint64_t& ms, std::string& why) {
  const std::size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  long seconds = 0;
  long thousandths = 0;
  why = "not a number of seconds with at most three decimals";
  if (whole.empty() || fraction.size() > 3 || (point != std::string::npos && fraction.empty())) return false;
  fraction.resize(3, '0');
  if (!TakeNumber(whole, 0, 1000000000, seconds, why) || !TakeNumber(fraction, 0, 999, thousandths, why)) {
    why = "not a number of seconds with at most three decimals";
    return false;
  }
  ms = std::uint64_t(seconds) * 1000 + std::uint64_t(thousandths);
  return true;
}

bool TakeSession(const std::string& text, long& session, std::string& why) {
  return TakeNumber(text, 1, 1000000000, session, why);
}

// The words of the options.
std::vector<ToolOption> ReplayOptionTable(ReplayOptions& options) {
  return {{"newline", nullptr, SetFlag(options.settings.newLine)},
          {"no-wrap", nullptr, SetFlag(options.settings.noWrap)},
          {"local-echo", nullptr, SetFlag(options.settings.localEcho)},
          {"graphic", "FILE.png", Into(TakeFileName, options.graphicPath)},
          {"picture", "FILE.png", Into(TakeFileName, options.picturePath)},
          {"rows", "FIRST-LAST", AlsoSet(options.rowsGiven, Into(TakeRows, options.rows))},
          {"log", "Talvorix.log", AlsoSet(options.logInput, OnlyFile(options.inputPath, "input"))},
          {"trace", "Talvorix.trace", AlsoSet(options.traceInput, OnlyFile(options.inputPath, "input"))},
          {"until", "SECONDS", AlsoSet(options.untilGiven, Into(TakeSeconds, options.untilMs))},
          {"session", "N", Into(TakeSession, options.session)}};
}

// The options that belong to another: --rows to a picture, --session to a log.
bool CheckCompanions(const ReplayOptions& options, std::string& error) {
  if (options.rowsGiven && options.picturePath.empty()) {
    error = "--rows: only with --picture";
  } else if (options.session != 0 && !options.logInput && !options.traceInput) {
    error = "--session: only with --log or --trace";
  } else if (options.untilGiven && !options.traceInput) {
    error = "--until: only with --trace";
  } else if (options.inputPath.empty()) {
    error = "no INPUT, no --log and no --trace";
  } else {
    return true;
  }
  return false;
}

}  // namespace

bool ParseReplayOptions(int argc, const char* const* argv, ReplayOptions& options, std::string& error) {
  const ToolCommandLine line{ReplayOptionTable(options), OnlyFile(options.inputPath, "input")};
  return ReadCommandLine(argc, argv, line, error) && CheckCompanions(options, error);
}
