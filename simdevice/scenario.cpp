#include "simdevice/scenario.h"

#include <cstdlib>
#include <sstream>

#include "terminal/model/jis.h"
#include "terminal/native/cp932_text.h"

namespace {

constexpr std::uint64_t DefaultTimeout = 10000;
constexpr std::size_t MostSteps = 1000000;  // after repeats are expanded

// ASCII that sequence parameters write in full width: digits, letters, ; * space.
std::uint16_t FullWidthWord(unsigned char c) {
  if (c >= '0' && c <= '9') return std::uint16_t(0x2330 + (c - '0'));
  if (c >= 'A' && c <= 'Z') return std::uint16_t(0x2341 + (c - 'A'));
  if (c >= 'a' && c <= 'z') return std::uint16_t(0x2361 + (c - 'a'));
  if (c == ';') return 0x2128;
  if (c == '*') return 0x2176;
  if (c == ' ') return 0x2121;
  return 0;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool ParseNumber(const std::string& text, std::uint64_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 0);
  return *end == '\0' && text[0] != '-';
}

bool ParseHexList(std::istringstream& in, std::uint64_t most, std::vector<std::uint64_t>& values) {
  std::string item;
  while (in >> item) {
    char* end = nullptr;
    const std::uint64_t v = std::strtoull(item.c_str(), &end, 16);
    if (*end != '\0' || v > most || item[0] == '-') return false;
    values.push_back(v);
  }
  return !values.empty();
}

std::string RestOfLine(std::istringstream& in) {
  std::string rest;
  std::getline(in, rest);
  if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
  return rest;
}

Step MakeStep(StepKind kind, int line) { return Step{kind, {}, {}, 0, 0, DefaultTimeout, line}; }

// The steps that take one number: pause, wait and replug.
StepKind NumberStepKind(const std::string& verb) {
  if (verb == "pause") return StepKind::Pause;
  if (verb == "replug") return StepKind::Replug;
  return StepKind::WaitBytes;
}

Step SendWords(const std::vector<std::uint16_t>& words, int line) {
  Step step = MakeStep(StepKind::Send, line);
  AppendWords(words, step.bytes);
  return step;
}

bool ParsePoint(const std::string& item, std::uint32_t& x, std::uint32_t& y) {
  const std::size_t cut = item.find_first_of(",;");
  if (cut == std::string::npos) return false;
  std::uint64_t a = 0, b = 0;
  if (!ParseNumber(item.substr(0, cut), a) || !ParseNumber(item.substr(cut + 1), b)) return false;
  if (a > 99999 || b > 99999) return false;
  x = std::uint32_t(a);
  y = std::uint32_t(b);
  return true;
}

struct Parser {
  std::vector<std::vector<Step>> blocks{1};  // the open repeat blocks, innermost last
  std::vector<std::uint64_t> repeatCounts;
  std::uint64_t timeout = DefaultTimeout;
  std::string error;
  int line = 0;

  bool Fail(const std::string& what) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
  }

  bool Add(Step step) {
    if (blocks.back().size() >= MostSteps) return Fail("script too long");
    step.timeout = timeout;
    blocks.back().push_back(std::move(step));
    return true;
  }

  bool EndRepeat() {
    if (repeatCounts.empty()) return Fail("end without repeat");
    std::vector<Step> body = std::move(blocks.back());
    blocks.pop_back();
    const std::uint64_t times = repeatCounts.back();
    repeatCounts.pop_back();
    if (!body.empty() && times > MostSteps / body.size()) return Fail("repeat too large");
    for (std::uint64_t i = 0; i < times; ++i) {
      for (const Step& step : body) {
        if (!Add(step)) return false;
      }
    }
    return true;
  }

  bool Control(std::uint16_t word) { return Add(SendWords({word}, line)); }

  bool Sequence(std::uint16_t introducer, const std::string& rest) {
    std::vector<std::uint16_t> words{introducer};
    if (!TextToWords(rest, true, words)) return Fail("text not in JIS X 0208");
    return Add(SendWords(words, line));
  }

  bool Command(const std::string& text) {
    std::istringstream in(text);
    std::string verb;
    in >> verb;
    if (verb.empty() || verb[0] == '#') return true;
    if (verb == "text" || verb == "line") {
      std::vector<std::uint16_t> words;
      if (!TextToWords(RestOfLine(in), false, words)) return Fail("text not in JIS X 0208");
      if (verb == "line") words.insert(words.end(), {0x000D, 0x000A});
      return Add(SendWords(words, line));
    }
    if (verb == "cr") return Control(0x000D);
    if (verb == "lf") return Control(0x000A);
    if (verb == "crlf") return Add(SendWords({0x000D, 0x000A}, line));
    if (verb == "bel") return Control(0x0007);
    if (verb == "bs") return Control(0x0008);
    if (verb == "eot") return Control(0x0004);
    if (verb == "ack") return Control(0x0006);
    if (verb == "nak") return Control(0x0015);
    if (verb == "csi") return Sequence(0x009B, RestOfLine(in));
    if (verb == "esc") return Sequence(0x001B, RestOfLine(in));
    if (verb == "word" || verb == "bytes") {
      std::vector<std::uint64_t> values;
      const bool words = verb == "word";
      if (!ParseHexList(in, words ? 0xFFFF : 0xFF, values)) return Fail("bad hexadecimal list");
      Step step = MakeStep(StepKind::Send, line);
      for (std::uint64_t v : values) {
        step.bytes.push_back(std::uint8_t(v));
        if (words) step.bytes.push_back(std::uint8_t(v >> 8));
      }
      return Add(step);
    }
    if (verb == "expect") {
      std::vector<std::uint64_t> values;
      if (!ParseHexList(in, 0xFF, values)) return Fail("bad hexadecimal list");
      Step step = MakeStep(StepKind::Expect, line);
      for (std::uint64_t v : values) step.bytes.push_back(std::uint8_t(v));
      return Add(step);
    }
    std::string a, b;
    in >> a >> b;
    std::uint64_t n = 0;
    if (verb == "pause" || verb == "wait" || verb == "timeout" || verb == "repeat" || verb == "replug") {
      if (!ParseNumber(a, n) || !b.empty()) return Fail(verb + " needs one number");
      if (verb == "timeout") {
        timeout = n;
        return true;
      }
      if (verb == "repeat") {
        repeatCounts.push_back(n);
        blocks.emplace_back();
        return true;
      }
      Step step = MakeStep(NumberStepKind(verb), line);
      step.count = n;
      return Add(step);
    }
    if (verb == "flood") {
      Step step = MakeStep(StepKind::Flood, line);
      if (!ParseNumber(a, step.count) || !ParseNumber(b, step.rate)) return Fail("flood COUNT RATE [TEXT]");
      std::string pattern = RestOfLine(in);
      if (pattern.empty()) pattern = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
      std::vector<std::uint16_t> words;
      if (!TextToWords(pattern, false, words)) return Fail("text not in JIS X 0208");
      AppendWords(words, step.bytes);
      return Add(step);
    }
    if (verb == "echo") {
      if (a != "on" && a != "off") return Fail("echo on|off");
      Step step = MakeStep(StepKind::Echo, line);
      step.count = a == "on";
      return Add(step);
    }
    if (verb == "plot") {
      Step step = MakeStep(StepKind::Plot, line);
      std::istringstream points(text.substr(4));
      std::string item;
      while (points >> item) {
        std::uint32_t x = 0, y = 0;
        if (!ParsePoint(item, x, y)) return Fail("plot X,Y ...");
        step.points.insert(step.points.end(), {x, y});
      }
      return Add(step);
    }
    if (!a.empty()) return Fail(verb + " takes nothing");
    if (verb == "end") return EndRepeat();
    if (verb == "wait-open") return Add(MakeStep(StepKind::WaitOpen, line));
    if (verb == "wait-close") return Add(MakeStep(StepKind::WaitClose, line));
    if (verb == "settings") return Add(MakeStep(StepKind::Settings, line));
    if (verb == "vanish") return Add(MakeStep(StepKind::Vanish, line));
    if (verb == "hold") return Add(MakeStep(StepKind::Hold, line));
    if (verb == "quit") return Add(MakeStep(StepKind::Quit, line));
    return Fail("unknown command " + verb);
  }
};

}  // namespace

bool TextToWords(std::string_view utf8, bool fullWidth, std::vector<std::uint16_t>& words) {
  std::string cp932;
  if (!Utf8ToCp932(utf8, cp932)) return false;
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(cp932[i]);
    if (IsLeadByte(b)) {
      if (i + 1 >= cp932.size()) return false;
      const unsigned char trail = static_cast<unsigned char>(cp932[++i]);
      words.push_back(SjisToJis(std::uint16_t(b | (trail << 8))));
    } else if (fullWidth && FullWidthWord(b) != 0) {
      words.push_back(FullWidthWord(b));
    } else {
      words.push_back(b);
    }
  }
  return true;
}

void AppendWords(const std::vector<std::uint16_t>& words, std::vector<std::uint8_t>& bytes) {
  for (std::uint16_t w : words) {
    bytes.push_back(std::uint8_t(w & 0xFF));
    bytes.push_back(std::uint8_t(w >> 8));
  }
}

Scenario ParseScenario(std::string_view script) {
  Parser parser;
  std::istringstream in{std::string(script)};
  std::string text;
  while (std::getline(in, text)) {
    ++parser.line;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (!parser.Command(text)) return Scenario{{}, parser.error};
  }
  if (!parser.repeatCounts.empty()) {
    parser.Fail("repeat without end");
    return Scenario{{}, parser.error};
  }
  return Scenario{std::move(parser.blocks.front()), {}};
}

int KeyReportWord(const std::uint8_t* report) {
  const int word = report[4] | (report[5] << 8);
  return word == 0xFFFF ? -1 : word;
}
