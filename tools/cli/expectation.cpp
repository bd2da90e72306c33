#include "tools/cli/expectation.h"

namespace {

bool AnyRowHolds(const ScreenView& view, const std::string& text) {
  for (const std::string& row : view.rows) {
    if (row.find(text) != std::string::npos) return true;
  }
  return false;
}

bool AnyRowMatches(const ScreenView& view, const std::wregex& pattern) {
  for (const std::wstring& row : view.wideRows) {
    if (std::regex_search(row, pattern)) return true;
  }
  return false;
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

bool ExpectationMet(const Expectation& expectation, const ScreenView& view) {
  switch (expectation.kind) {
    case ExpectKind::Text: return AnyRowHolds(view, expectation.text);
    case ExpectKind::Pattern: return AnyRowMatches(view, expectation.pattern);
    case ExpectKind::Row: return view.rows[std::size_t(expectation.row)] == expectation.text;
    case ExpectKind::Cursor: return view.cursorRow == expectation.row && view.cursorCol == expectation.column;
    case ExpectKind::Tab: return view.tab == expectation.tab;
  }
  return false;
}

std::string DescribeExpectation(const Expectation& expectation) {
  return WhatWasExpected(expectation) + " within " + std::to_string(expectation.limitMs) + " ms";
}
