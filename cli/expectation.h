// What an expect line waits for on the screen, and the check of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cli/screen_view.h"

namespace re2 {
class RE2;
}

// How long an expectation waits unless its line says "within MS".
constexpr int DefaultExpectLimitMs = 5000;

enum class ExpectKind {
  Text,     // `text` appears within one row
  Pattern,  // the pattern `text` matches within one row (see row_pattern.h)
  Row,      // row `row` reads exactly `text`
  Cursor,   // the cursor is at `row`, `column`
  Tab,      // the window shows view `tab`
};

struct Expectation {
  ExpectKind kind = ExpectKind::Text;
  std::string text;  // the text, or the pattern as written
  int row = 0;
  int column = 0;
  int tab = 0;
  int limitMs = DefaultExpectLimitMs;
};

// The check of an expectation while its line waits. A pattern, which its
// line's parsing found valid, is compiled for as long as the check lives, so
// that a script holds one compiled pattern at a time however many it has.
class ExpectationCheck {
 public:
  explicit ExpectationCheck(const Expectation& expectation);
  ~ExpectationCheck();
  ExpectationCheck(const ExpectationCheck&) = delete;
  ExpectationCheck& operator=(const ExpectationCheck&) = delete;

  // Whether `view` meets the expectation. A pattern is matched row after row,
  // and the search gives up (false) between two rows once a stop signal has
  // come or `deadlineMs` (monotonic) has passed: the largest pattern RE2
  // compiles takes about a tenth of a second on a full row, while all 200
  // rows would take 20 s, so the line's limit and a stop signal hold.
  bool Met(const ScreenView& view, std::uint64_t deadlineMs) const;

 private:
  bool AnyRowMatches(const ScreenView& view, std::uint64_t deadlineMs) const;

  const Expectation& expectation_;
  std::unique_ptr<const re2::RE2> pattern_;
};

// What was expected, in words: `text "ＯＫ" on the screen within 5000 ms`.
std::string DescribeExpectation(const Expectation& expectation);
