#include "cli/script.h"

#include "terminal/native/cp932_text.h"
#include "cli/expect_parse.h"
#include "cli/script_words.h"
#include "cli/utf8_check.h"

namespace {

constexpr long LongestWaitMs = 86400000;  // a day

using ArgumentParser = bool (*)(std::string_view arguments, ScriptLine& line, std::string& error);

bool ParseKey(std::string_view arguments, ScriptLine& line, std::string& error) {
  if (!arguments.empty() && arguments.find_first_of(" \t") == std::string_view::npos) {
    return KeyEventsFromName(arguments, line.keys, error);
  }
  error = "key needs one key name, such as a, shift+a or Return";
  return false;
}

bool ParseText(std::string_view arguments, ScriptLine& line, std::string& error) {
  std::string cp932;
  if (arguments.empty()) {
    error = "text needs the text to send";
  } else if (!Utf8ToCp932(arguments, cp932)) {
    error = "the text holds a character that code page 932 lacks";
  } else {
    line.bytes.assign(cp932.begin(), cp932.end());
    return true;
  }
  return false;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Bytes of two hexadecimal digits each, written together or apart.
bool ParseHexBytes(std::string_view word, std::vector<std::uint8_t>& bytes) {
  if (word.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < word.size(); i += 2) {
    const int high = HexValue(word[i]);
    const int low = HexValue(word[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(std::uint8_t(high << 4 | low));
  }
  return true;
}

bool ParseSend(std::string_view arguments, ScriptLine& line, std::string& error) {
  while (!arguments.empty()) {
    const std::string_view word = TakeWord(arguments);
    if (!ParseHexBytes(word, line.bytes)) {
      error = "send takes bytes of two hexadecimal digits each, not \"" + std::string(word) + "\"";
      return false;
    }
  }
  if (!line.bytes.empty()) return true;
  error = "send needs the bytes to send";
  return false;
}

bool ParseWait(std::string_view arguments, ScriptLine& line, std::string& error) {
  if (ParseNumberIn(arguments, 0, LongestWaitMs, line.milliseconds)) return true;
  error = "wait needs milliseconds from 0 to " + std::to_string(LongestWaitMs);
  return false;
}

bool ParsePicture(std::string_view arguments, ScriptLine& line, std::string& error) {
  line.path = arguments;
  if (!arguments.empty()) return true;
  error = "picture needs the file to write";
  return false;
}

bool ParseNothing(std::string_view arguments, ScriptLine&, std::string& error) {
  if (arguments.empty()) return true;
  error = "this line takes no arguments";
  return false;
}

struct Verb {
  const char* name;
  LineKind kind;
  ArgumentParser parse;
};

constexpr Verb Verbs[] = {
    {"key", LineKind::Key, ParseKey},         {"text", LineKind::Text, ParseText},
    {"send", LineKind::Send, ParseSend},      {"wait", LineKind::Wait, ParseWait},
    {"screen", LineKind::Screen, ParseNothing}, {"picture", LineKind::Picture, ParsePicture},
    {"disconnect", LineKind::Disconnect, ParseNothing}, {"connect", LineKind::Connect, ParseNothing},
};

bool ParseArguments(std::string_view verb, std::string_view arguments, ScriptLine& line, std::string& error) {
  if (IsExpectVerb(verb)) {
    line.kind = LineKind::Expect;
    return ParseExpectation(verb, arguments, line.expectation, error);
  }
  for (const Verb& known : Verbs) {
    if (verb == known.name) {
      line.kind = known.kind;
      return known.parse(arguments, line, error);
    }
  }
  error = "unknown line \"" + std::string(verb) + "\"";
  return false;
}

// Whether the port is open at each line of the script.
struct PortState {
  bool open = true;
  int closedAt = 0;  // the line that closed it
};

bool FollowPort(PortState& port, const ScriptLine& line, std::string& error) {
  const bool sends = line.kind == LineKind::Key || line.kind == LineKind::Text || line.kind == LineKind::Send;
  if (line.kind == LineKind::Connect && port.open) {
    error = "connect: the port is open already";
  } else if (line.kind == LineKind::Disconnect && !port.open) {
    error = "disconnect: the port was closed at line " + std::to_string(port.closedAt);
  } else if (sends && !port.open) {
    error = "nothing can be sent: the port was closed at line " + std::to_string(port.closedAt);
  } else {
    if (line.kind == LineKind::Connect || line.kind == LineKind::Disconnect) port.open = !port.open;
    if (line.kind == LineKind::Disconnect) port.closedAt = line.number;
    return true;
  }
  return false;
}

// One line of the file; `skip` for a blank or comment line. A NUL byte is a
// fault: no line means one, and it would cut the messages that quote it.
bool ParseLine(std::string_view text, ScriptLine& line, bool& skip, std::string& error) {
  if (text.size() > LongestLineBytes) {
    error = "the line is longer than " + std::to_string(LongestLineBytes) + " bytes";
    return false;
  }
  if (!IsUtf8(text)) {
    error = "the line is not UTF-8";
    return false;
  }
  if (text.find('\0') != std::string_view::npos) {
    error = "the line holds a NUL byte";
    return false;
  }
  std::string_view arguments = TrimBlanks(text);
  skip = arguments.empty() || arguments.front() == '#';
  if (skip) return true;
  line.source = arguments;
  const std::string_view verb = TakeWord(arguments);
  return ParseArguments(verb, arguments, line, error);
}

// Takes the first line off `text`, without its end: CR LF, LF and a CR alone
// each end a line, as the editors of each system write them.
std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = text.find_first_of("\r\n");
  const std::string_view line = text.substr(0, end);
  const bool crLf = end != std::string_view::npos && text.compare(end, 2, "\r\n") == 0;
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + (crLf ? 2 : 1));
  return line;
}

// A byte order mark some editors put at the start of UTF-8 text.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

bool ParseScript(std::string_view text, std::vector<ScriptLine>& lines, std::string& error) {
  PortState port;
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
  for (int number = 1; !text.empty(); ++number) {
    const std::string_view source = TakeLine(text);
    ScriptLine line;
    line.number = number;
    bool skip = false;
    if (!ParseLine(source, line, skip, error) || (!skip && !FollowPort(port, line, error))) {
      error = "line " + std::to_string(number) + ": " + error;
      return false;
    }
    if (!skip) lines.push_back(std::move(line));
  }
  return true;
}
