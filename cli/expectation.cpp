#include "cli/expectation.h"

#include "terminal/link/monotonic_clock.h"
#include "cli/row_pattern.h"
#include "cli/stop_signal.h"

namespace {

bool AnyRowHolds(const ScreenView& view, const std::string& text) {
  for (const std::string& row : view.rows) {
    if (row.find(text) != std::string::npos) return true;
  }
  return false;
}

std::unique_ptr<const re2::RE2> PatternOf(const Expectation& expectation) {
  std::string error;
  return expectation.kind == ExpectKind::Pattern ? CompileRowPattern(expectation.text, error) : nullptr;
}

std::string WhatWasExpected(const Expectation& expectation) {
  switch (expectation.kind) {
    case ExpectKind::Text: return "text \"" + expectation.text + "\" on the screen";
    case ExpectKind::Pattern: return "a row matching /" + expectation.text + "/";
    case ExpectKind::Row: return "row " + std::to_string(expectation.row) + " reading \"" + expectation.text + "\"";
    case ExpectKind::Cursor:
      return "the cursor at row " + std::to_string(expectation.row) + ", column " + std::to_string(expectation.column);
    case ExpectKind::Tab: return "view " + std::to_string(expectation.tab) + " shown";
  }
  return "";
}

}  // namespace

ExpectationCheck::ExpectationCheck(const Expectation& expectation)
    : expectation_(expectation), pattern_(PatternOf(expectation)) {}

ExpectationCheck::~ExpectationCheck() = default;

bool ExpectationCheck::Met(const ScreenView& view, std::uint64_t deadlineMs) const {
  switch (expectation_.kind) {
    case ExpectKind::Text: return AnyRowHolds(view, expectation_.text);
    case ExpectKind::Pattern: return AnyRowMatches(view, deadlineMs);
    case ExpectKind::Row: return view.rows[std::size_t(expectation_.row)] == expectation_.text;
    case ExpectKind::Cursor: return view.cursorRow == expectation_.row && view.cursorCol == expectation_.column;
    case ExpectKind::Tab: return view.tab == expectation_.tab;
  }
  return false;
}

// The pattern compiles here as it did when its line was parsed.
bool ExpectationCheck::AnyRowMatches(const ScreenView& view, std::uint64_t deadlineMs) const {
  for (const std::string& row : view.rows) {
    if (re2::RE2::PartialMatch(row, *pattern_)) return true;
    if (StopSignal() != 0 || MonotonicMs() > deadlineMs) return false;
  }
  return false;
}

std::string DescribeExpectation(const Expectation& expectation) {
  return WhatWasExpected(expectation) + " within " + std::to_string(expectation.limitMs) + " ms";
}
