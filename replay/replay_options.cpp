#include "replay/replay_options.h"

#include "common/command_line.h"

const char ReplayUsage[] =
    "usage: talvorix-replay [--newline] [--no-wrap] [--local-echo] [--graphic FILE.png]\n"
    "                       [--picture FILE.png [--rows FIRST-LAST]]\n"
    "                       (INPUT | --log Talvorix.log [--session N])\n";

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
          {"session", "N", Into(TakeSession, options.session)}};
}

// The options that belong to another: --rows to a picture, --session to a log.
bool CheckCompanions(const ReplayOptions& options, std::string& error) {
  if (options.rowsGiven && options.picturePath.empty()) {
    error = "--rows: only with --picture";
  } else if (options.session != 0 && !options.logInput) {
    error = "--session: only with --log";
  } else if (options.inputPath.empty()) {
    error = "no INPUT and no --log";
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
