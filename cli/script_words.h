// The words of a script line: a line is a verb and its arguments, separated
// by spaces or tabs.
#pragma once

#include <string_view>

// The text without the spaces and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// Takes the first word off `text` (and the blanks after it) and returns it.
std::string_view TakeWord(std::string_view& text);

// Takes the last word off `text` (and the blanks before it) and returns it.
std::string_view TakeLastWord(std::string_view& text);

// A decimal number from `lowest` to `highest`, written with digits only.
bool ParseNumberIn(std::string_view text, long lowest, long highest, int& value);
