// Whether a script's text is UTF-8, as the patterns and the conversion to
// code page 932 take it.
#pragma once

#include <string_view>

// True when `text` is well-formed UTF-8: no overlong form, no surrogate,
// nothing above U+10FFFF, no sequence cut short.
bool IsUtf8(std::string_view text);
