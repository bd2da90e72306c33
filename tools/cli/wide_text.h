// UTF-8 text as wide characters, one code point each, so that a pattern's
// "." and character classes take whole characters.
#pragma once

#include <string>
#include <string_view>

// False when `utf8` is not well-formed UTF-8.
bool Utf8ToWide(std::string_view utf8, std::wstring& wide);
