#include "common/command_line.h"

#include <getopt.h>

#include <cstdio>

namespace {

// Every option long, none short; getopt_long returns 0 and its index for each.
std::vector<option> LongOptions(const std::vector<ToolOption>& options) {
  std::vector<option> table;
  for (const ToolOption& tool : options) {
    table.push_back({tool.name, tool.value != nullptr ? required_argument : no_argument, nullptr, 0});
  }
  table.push_back({});
  return table;
}

// A value as the user wrote it, an empty one shown as the shell writes it.
std::string Shown(const std::string& value) { return value.empty() ? "''" : value; }

// "name" for "--name" and "--name=value"; "" for what is not a long option.
std::string SpelledName(const std::string& argument) {
  if (argument.compare(0, 2, "--") != 0) return "";
  const std::size_t equals = argument.find('=');
  return argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
}

const ToolOption* Named(const std::vector<ToolOption>& options, const std::string& name) {
  for (const ToolOption& tool : options) {
    if (name == tool.name) return &tool;
  }
  return nullptr;
}

// What getopt_long refused in `argument`: ':' for a missing value, '?' for a
// name it does not know or a value given to an option without one.
std::string Refusal(int got, const std::vector<ToolOption>& options, const std::string& argument) {
  const ToolOption* known = Named(options, SpelledName(argument));
  if (known == nullptr) return argument + ": unknown option";
  return argument + (got == ':' ? ": needs a value (" + std::string(known->value) + ")" : ": takes no value");
}

// The one scan of a command line: getopt_long's state and where it stands.
class Scan {
 public:
  Scan(int argc, const char* const* argv, const ToolCommandLine& line)
      : argc_(argc), argv_(argv), line_(line), table_(LongOptions(line.options)) {
    optind = 0;  // glibc starts afresh: a tool's tests read many command lines
  }

  // The next option or operand before "--" or the end; false when there is
  // none left (`done`) or it is wrong (`error`).
  bool Next(bool& done, std::string& error) {
    const int at = optind > 0 ? optind : 1;  // no short options: one call reads whole arguments
    int index = -1;
    // "-": operands come in order as 1 (nothing is permuted, whatever
    // POSIXLY_CORRECT says); ":": a missing value comes as ':'.
    const int got = getopt_long(argc_, const_cast<char* const*>(argv_), "-:", table_.data(), &index);
    done = got == -1;
    if (done) return false;
    if (got == 1) return Take(line_.operand, optarg, optarg, error);
    if (got != 0) return Fail(Refusal(got, line_.options, argv_[at]), error);
    return TakeOption(line_.options[std::size_t(index)], argv_[at], error);
  }

  // The operands after "--".
  bool Rest(std::string& error) const {
    for (int i = optind; i < argc_; ++i) {
      if (!Take(line_.operand, argv_[i], argv_[i], error)) return false;
    }
    return true;
  }

 private:
  // An option getopt_long knew, by its name as spelled and its value.
  bool TakeOption(const ToolOption& tool, const std::string& spelled, std::string& error) const {
    if (SpelledName(spelled) != tool.name) return Fail(spelled + ": unknown option", error);
    const std::string value = optarg != nullptr ? optarg : "";
    const bool separate = optarg != nullptr && optarg == argv_[optind - 1];
    return Take(tool.take, value, separate ? spelled + " " + Shown(value) : spelled, error);
  }

  static bool Take(const TakeValue& take, const std::string& value, const std::string& named, std::string& error) {
    std::string why;
    return take(value, why) || Fail(Shown(named) + ": " + why, error);
  }

  static bool Fail(const std::string& message, std::string& error) {
    error = message;
    return false;
  }

  const int argc_;
  const char* const* argv_;
  const ToolCommandLine& line_;
  const std::vector<option> table_;
};

}  // namespace

bool ReadCommandLine(int argc, const char* const* argv, const ToolCommandLine& line, std::string& error) {
  Scan scan(argc, argv, line);
  bool done = false;
  while (scan.Next(done, error)) {
  }
  return done && scan.Rest(error);
}

int RefuseCommandLine(const char* program, const std::string& error, const char* usage) {
  std::fprintf(stderr, "%s: %s\n%s", program, error.c_str(), usage);
  return ExitWrongCommandLine;
}

TakeValue SetFlag(bool& flag) {
  return [&flag](const std::string&, std::string&) {
    flag = true;
    return true;
  };
}

TakeValue AlsoSet(bool& flag, TakeValue take) {
  return [&flag, take](const std::string& value, std::string& why) {
    flag = true;
    return take(value, why);
  };
}

bool TakeFileName(const std::string& value, std::string& path, std::string& why) {
  path = value;
  why = "no file name";
  return !value.empty();
}

TakeValue OnlyFile(std::string& path, const char* what) {
  return [&path, what](const std::string& value, std::string& why) {
    why = std::string("a second ") + what;
    return path.empty() && TakeFileName(value, path, why);
  };
}

bool TakeNumber(const std::string& value, long lowest, long highest, long& number, std::string& why) {
  why = "not a number from " + std::to_string(lowest) + " to " + std::to_string(highest);
  if (value.empty() || value.size() > 18 || value.find_first_not_of("0123456789") != std::string::npos) return false;
  number = std::stol(value);
  return number >= lowest && number <= highest;
}
