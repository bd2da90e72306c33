// The command line of the native tools, read with getopt_long: long options
// only, each as "--name VALUE" or "--name=VALUE", operands before, between
// and after them, and "--" ending the options. A wrong command line is told
// in one line that names the wrong argument and what is wrong with it
// ("talvorix-replay: --rows 5-2: the first row is after the last"), then the
// usage, and the program ends with exit code 2.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The exit code of a wrong command line, the same in every tool.
constexpr int ExitWrongCommandLine = 2;

// Takes the value of an option, or an operand; false with `why` saying what
// is wrong with it.
using TakeValue = std::function<bool(const std::string& value, std::string& why)>;

struct ToolOption {
  const char* name;   // without the "--"
  const char* value;  // what the value is, as the usage names it ("FILE"); nullptr for an option without one
  TakeValue take;     // gets "" for an option without a value
};

struct ToolCommandLine {
  std::vector<ToolOption> options;
  TakeValue operand;
};

// Hands every option and operand of argv[1..argc-1] to its taker, in the
// order they come. An option must be spelled in full: an abbreviation that
// works today would break a script the day an option with the same start
// comes. False at the first wrong argument, with `error` naming it and what
// is wrong: an unknown option, a value missing or given to an option without
// one, a value or operand its taker refuses.
bool ReadCommandLine(int argc, const char* const* argv, const ToolCommandLine& line, std::string& error);

// Writes "PROGRAM: ERROR" and the usage on standard error; returns
// ExitWrongCommandLine.
int RefuseCommandLine(const char* program, const std::string& error, const char* usage);

// A taker that reads the value into `target` with `take`.
template <typename Target>
TakeValue Into(bool (*take)(const std::string& value, Target& target, std::string& why), Target& target) {
  return [take, &target](const std::string& value, std::string& why) { return take(value, target, why); };
}

// An option without a value that sets `flag`.
TakeValue SetFlag(bool& flag);

// `take`, also setting `flag` to tell that the option came.
TakeValue AlsoSet(bool& flag, TakeValue take);

// The name of a file to read or write: an empty one names no file.
bool TakeFileName(const std::string& value, std::string& path, std::string& why);

// The one file of a command line, such as its SCRIPT: a second one is
// refused as "a second `what`".
TakeValue OnlyFile(std::string& path, const char* what);

// A decimal number from `lowest` to `highest`, written with digits only.
bool TakeNumber(const std::string& value, long lowest, long highest, long& number, std::string& why);
