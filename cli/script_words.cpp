#include "cli/script_words.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TakeWord(std::string_view& text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  const std::string_view word = text.substr(0, end);
  text = TrimBlanks(text.substr(end));
  return word;
}

std::string_view TakeLastWord(std::string_view& text) {
  std::size_t start = text.size();
  while (start > 0 && !IsBlank(text[start - 1])) --start;
  const std::string_view word = text.substr(start);
  text = TrimBlanks(text.substr(0, start));
  return word;
}

bool ParseNumberIn(std::string_view text, long lowest, long highest, int& value) {
  if (text.empty() || text.size() > 9) return false;
  long number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  value = int(number);
  return number >= lowest && number <= highest;
}
