// talvorix-replay: plays a file of received words through the terminal's
// interpreter and prints what the user would have seen.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "terminal/native/native_platform.h"
#include "tools/picture/png_writer.h"
#include "tools/picture/text_picture.h"
#include "tools/replay/log_input.h"
#include "tools/replay/replay_report.h"
#include "tools/replay/replay_run.h"
#include "tools/whole_file.h"

namespace {

struct Options {
  ReplaySettings settings;
  std::string graphicPath;
  std::string picturePath;
  RowRange rows;
  bool rowsGiven = false;
  bool logInput = false;  // inputPath is a communication log
  int session = 0;        // of the log, from 1; 0 the last
  std::string inputPath;
};

constexpr char Usage[] =
    "usage: talvorix-replay [--newline] [--no-wrap] [--local-echo] [--graphic FILE.png]\n"
    "                       [--picture FILE.png [--rows FIRST-LAST]]\n"
    "                       (INPUT | --log Talvorix.log [--session N])\n";

// "FIRST-LAST", screen rows from 0 to 199, FIRST not below LAST.
bool ParseRows(const std::string& text, RowRange& rows) {
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%d-%d%n", &rows.first, &rows.last, &consumed) != 2) return false;
  return std::size_t(consumed) == text.size() && rows.first >= 0 && rows.first <= rows.last &&
         rows.last < ScreenRows;
}

// A session number from 1 on.
bool ParseSession(const std::string& text, int& session) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  session = int(value);
  return !text.empty() && *end == '\0' && value >= 1 && value <= 1000000000L;
}

bool ParseInput(const std::string& argument, Options& options) {
  if (!options.inputPath.empty()) return false;
  options.inputPath = argument;
  return true;
}

// An option that takes a value, with its value.
bool ParseValue(const std::string& option, const std::string& value, Options& options) {
  if (option == "--graphic") {
    options.graphicPath = value;
  } else if (option == "--picture") {
    options.picturePath = value;
  } else if (option == "--rows") {
    options.rowsGiven = true;
    return ParseRows(value, options.rows);
  } else if (option == "--session") {
    return ParseSession(value, options.session);
  } else if (option == "--log") {
    options.logInput = true;
    return ParseInput(value, options);
  } else {
    return false;
  }
  return true;
}

// One argument, and the value after it for an option that takes one.
bool ParseArgument(int argc, char** argv, int& i, Options& options) {
  const std::string argument = argv[i];
  if (argument == "--newline") {
    options.settings.newLine = true;
  } else if (argument == "--no-wrap") {
    options.settings.noWrap = true;
  } else if (argument == "--local-echo") {
    options.settings.localEcho = true;
  } else if (argument.size() > 1 && argument[0] == '-') {
    return ++i < argc && ParseValue(argument, argv[i], options);
  } else {
    return ParseInput(argument, options);
  }
  return true;
}

// --rows belongs to a picture and --session to a log.
bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (!ParseArgument(argc, argv, i, options)) return false;
  }
  return !options.inputPath.empty() && (!options.rowsGiven || !options.picturePath.empty()) &&
         (options.session == 0 || options.logInput);
}

// The received bytes to replay, one string for each session; false after
// telling the user why there are none.
bool LoadInput(const Options& options, std::vector<std::string>& sessions) {
  std::string error;
  if (options.logInput) {
    if (ReadLogRun(options.inputPath, options.session, sessions, error)) return true;
  } else {
    sessions.resize(1);
    if (ReadWholeFile(options.inputPath, sessions[0])) return true;
    error = "cannot read " + options.inputPath + ": " + std::strerror(errno);
  }
  std::fprintf(stderr, "talvorix-replay: %s\n", error.c_str());
  return false;
}

// The pictures asked for; false after telling the user what failed.
bool WritePictures(const Options& options, const NativeTerminal& terminal) {
  if (!options.graphicPath.empty() && !WritePng(options.graphicPath, terminal.platform.graphic)) {
    std::fprintf(stderr, "talvorix-replay: cannot write %s\n", options.graphicPath.c_str());
    return false;
  }
  std::string error;
  if (!options.picturePath.empty() &&
      !WriteTextPicture(options.picturePath, *terminal.terminal, options.rows, error)) {
    std::fprintf(stderr, "talvorix-replay: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(Usage, stderr);
    return 2;
  }
  std::vector<std::string> sessions;
  if (!LoadInput(options, sessions)) return 1;
  NativeTerminal terminal;
  ReplayInput(terminal, sessions, options.settings);
  const std::string report = ReplayReport(terminal);
  std::fwrite(report.data(), 1, report.size(), stdout);
  if (!WritePictures(options, terminal)) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}
