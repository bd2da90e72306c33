#include "terminal/interpreter/dump_line.h"

#include <cstdio>
#include <cstring>

#include "terminal/interpreter/display_form.h"
#include "terminal/interpreter/words.h"

namespace {

constexpr int WordsPerLine = 8;
constexpr char FullWidthSpace[] = "\x81\x40";

}  // namespace

int FormatDumpLine(std::uint32_t offset, const std::uint8_t* data, int count, char* text) {
  if (count < 0) count = 0;
  if (count > 2 * WordsPerLine) count = 2 * WordsPerLine;
  const int present = count / 2;
  // Hex column 40, separator 2, character column 16, terminating zero.
  char body[40 + 2 + 16 + 1];
  char* out = body;
  for (int i = 0; i < WordsPerLine; ++i) {
    if (i < present) {
      std::snprintf(out, 6, "%04X ", unsigned(WordAt(data, i)));
    } else {
      std::memcpy(out, "\x81\x40\x81\x40 ", 5);
    }
    out += 5;
  }
  std::memcpy(out, FullWidthSpace, 2);
  out += 2;
  for (int i = 0; i < WordsPerLine; ++i) {
    if (i < present) {
      DisplayForm(WordAt(data, i), reinterpret_cast<std::uint8_t*>(out));
    } else {
      std::memcpy(out, FullWidthSpace, 2);
    }
    out += 2;
  }
  *out = '\0';
  std::snprintf(text, DumpLineLength + 1, "%08lX  %s", static_cast<unsigned long>(offset), body);
  return DumpLineLength;
}
