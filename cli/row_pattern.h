// The patterns of expect lines: RE2's syntax, matched on a screen row's UTF-8
// in time linear in the row's length times the pattern's size, never by
// backtracking. "." and classes take whole characters; "^" and "$" are the
// ends of the row.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <re2/re2.h>

// The compiled pattern, or null with `error` when `text` is not a valid
// pattern or compiles to more than RE2's bound on a pattern's memory
// (8 MiB, about 170,000 instructions), which also bounds the time a row takes.
std::unique_ptr<const re2::RE2> CompileRowPattern(std::string_view text, std::string& error);
