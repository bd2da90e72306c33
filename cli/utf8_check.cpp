#include "cli/utf8_check.h"

#include <cstddef>

namespace {

// The length of the sequence that `lead` starts and the range its second
// byte must lie in (which rules out overlong forms, surrogates and values
// above U+10FFFF); 0 for a byte that starts none.
struct Lead {
  std::size_t length;
  unsigned char low;
  unsigned char high;
};

Lead LeadOf(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

bool IsContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// Whether a well-formed sequence starts at `at`; its length in `length`.
bool SequenceAt(std::string_view text, std::size_t at, std::size_t& length) {
  const Lead lead = LeadOf(static_cast<unsigned char>(text[at]));
  length = lead.length;
  if (length == 0 || text.size() - at < length) return false;
  if (length == 1) return true;
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < lead.low || second > lead.high) return false;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return false;
  }
  return true;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  std::size_t length = 0;
  for (std::size_t at = 0; at < text.size(); at += length) {
    if (!SequenceAt(text, at, length)) return false;
  }
  return true;
}
