// The arguments of the expect lines:
//   expect TEXT [within MS]            expect /PATTERN/ [within MS]
//   expect-row N TEXT [within MS]      expect-cursor ROW COL [within MS]
//   expect-tab N [within MS]
#pragma once

#include <string>
#include <string_view>

#include "cli/expectation.h"

// True when `verb` is one of the expect lines.
bool IsExpectVerb(std::string_view verb);

// Reads the arguments of an expect line. False, with `error`, when they are
// missing or out of range, or the pattern is not a valid RE2 pattern.
bool ParseExpectation(std::string_view verb, std::string_view arguments, Expectation& expectation,
                      std::string& error);
