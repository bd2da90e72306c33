// What an expect line waits for on the screen, and the check of it.
#pragma once

#include <regex>
#include <string>

#include "tools/cli/screen_view.h"

// How long an expectation waits unless its line says "within MS".
constexpr int DefaultExpectLimitMs = 5000;

enum class ExpectKind {
  Text,     // `text` appears within one row
  Pattern,  // `pattern` matches within one row
  Row,      // row `row` reads exactly `text`
  Cursor,   // the cursor is at `row`, `column`
  Tab,      // the window shows view `tab`
};

struct Expectation {
  ExpectKind kind = ExpectKind::Text;
  std::string text;  // the text, or the pattern as written
  std::wregex pattern;
  int row = 0;
  int column = 0;
  int tab = 0;
  int limitMs = DefaultExpectLimitMs;
};

bool ExpectationMet(const Expectation& expectation, const ScreenView& view);

// What was expected, in words: `text "ＯＫ" on the screen within 5000 ms`.
std::string DescribeExpectation(const Expectation& expectation);
