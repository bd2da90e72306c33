#include "cli/expect_parse.h"

#include "cli/row_pattern.h"
#include "cli/script_words.h"

namespace {

constexpr long LongestLimitMs = 86400000;  // a day
constexpr int LastTab = 2;

// Takes a trailing "within MS" off the arguments. A last or last-but-one
// word "within" always starts the limit, for every expect line alike, and
// what follows it must be the milliseconds in decimal digits: a malformed
// limit is a fault rather than part of the text. Text or a pattern that
// itself ends with "within" and a word is written with its limit after it:
// "expect done within reason within 5000".
bool TakeLimit(std::string_view& arguments, int& limitMs, std::string& error) {
  std::string_view head = arguments;
  const std::string_view last = TakeLastWord(head);
  std::string_view text = head;
  const bool limited = last == "within" || TakeLastWord(text) == "within";
  if (!limited) return true;
  if (last == "within" || !ParseNumberIn(last, 0, LongestLimitMs, limitMs)) {
    error = "within takes a limit from 0 to " + std::to_string(LongestLimitMs) + " ms";
    return false;
  }
  arguments = text;
  return true;
}

// "/PATTERN/" is a pattern, anything else text; "//" is an empty pattern, a
// fault (the text "//" is the pattern /\/\//).
bool ParseTextExpectation(std::string_view arguments, Expectation& expectation, std::string& error) {
  const bool pattern = arguments.size() >= 2 && arguments.front() == '/' && arguments.back() == '/';
  expectation.kind = pattern ? ExpectKind::Pattern : ExpectKind::Text;
  expectation.text = pattern ? arguments.substr(1, arguments.size() - 2) : arguments;
  if (expectation.text.empty()) {
    error = pattern ? "the pattern // is empty" : "expect needs a text or a /pattern/";
    return false;
  }
  // Compiled again while its line waits: only checked here.
  return !pattern || CompileRowPattern(expectation.text, error) != nullptr;
}

bool ParseRowExpectation(std::string_view arguments, Expectation& expectation, std::string& error) {
  expectation.kind = ExpectKind::Row;
  if (!ParseNumberIn(TakeWord(arguments), 0, ScreenRows - 1, expectation.row)) {
    error = "expect-row needs a row from 0 to " + std::to_string(ScreenRows - 1) + ", then the text";
    return false;
  }
  expectation.text = arguments;
  return true;
}

bool ParseCursorExpectation(std::string_view arguments, Expectation& expectation, std::string& error) {
  expectation.kind = ExpectKind::Cursor;
  if (ParseNumberIn(TakeWord(arguments), 0, ScreenRows - 1, expectation.row) &&
      ParseNumberIn(TakeWord(arguments), 0, ScreenColumns, expectation.column) && arguments.empty()) {
    return true;
  }
  error = "expect-cursor needs a row from 0 to " + std::to_string(ScreenRows - 1) + " and a column from 0 to " +
          std::to_string(ScreenColumns);
  return false;
}

bool ParseTabExpectation(std::string_view arguments, Expectation& expectation, std::string& error) {
  expectation.kind = ExpectKind::Tab;
  if (ParseNumberIn(arguments, 0, LastTab, expectation.tab)) return true;
  error = "expect-tab needs a view: 0 text, 1 dump, 2 graphic";
  return false;
}

}  // namespace

bool IsExpectVerb(std::string_view verb) {
  return verb == "expect" || verb == "expect-row" || verb == "expect-cursor" || verb == "expect-tab";
}

bool ParseExpectation(std::string_view verb, std::string_view arguments, Expectation& expectation,
                      std::string& error) {
  if (!TakeLimit(arguments, expectation.limitMs, error)) return false;
  if (verb == "expect-row") return ParseRowExpectation(arguments, expectation, error);
  if (verb == "expect-cursor") return ParseCursorExpectation(arguments, expectation, error);
  if (verb == "expect-tab") return ParseTabExpectation(arguments, expectation, error);
  return ParseTextExpectation(arguments, expectation, error);
}
