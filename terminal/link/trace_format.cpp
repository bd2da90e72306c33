#include "terminal/link/trace_format.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "terminal/interpreter/display_form.h"
#include "terminal/interpreter/words.h"

const char TraceHeaderLine[] = "# talvorix trace 1";

namespace {

struct KindName {
  TraceKind kind;
  const char* name;
};

constexpr KindName KindNames[] = {
    {TraceKind::Start, "start"},       {TraceKind::Reconnect, "reconnect"}, {TraceKind::End, "end"},
    {TraceKind::Lost, "lost"},         {TraceKind::Waiting, "waiting"},     {TraceKind::WaitEnded, "wait-ended"},
    {TraceKind::Received, "received"}, {TraceKind::Sent, "sent"},           {TraceKind::User, "user"},
    {TraceKind::Message, "message"},
};

struct WordName {
  std::uint16_t word;
  const char* name;
};

constexpr WordName ControlNames[] = {
    {WordEot, "EOT"}, {WordAck, "ACK"}, {WordBel, "BEL"}, {WordBs, "BS"},   {WordLf, "LF"},
    {WordCr, "CR"},   {WordNak, "NAK"}, {WordEsc, "ESC"}, {WordCsi, "CSI"},
};

const char* KindText(TraceKind kind) {
  for (const KindName& entry : KindNames) {
    if (entry.kind == kind) return entry.name;
  }
  return "?";
}

bool HasBytes(TraceKind kind) {
  return kind == TraceKind::Received || kind == TraceKind::Sent || kind == TraceKind::User;
}

bool HasText(TraceKind kind) {
  return kind == TraceKind::Lost || kind == TraceKind::Waiting || kind == TraceKind::Message;
}

// Appends `digits` upper-case hexadecimal digits of `value`.
void AppendHex(std::string& out, unsigned value, int digits) {
  static const char Digits[] = "0123456789ABCDEF";
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += Digits[(value >> shift) & 0xF];
}

// What a split byte shows.
constexpr char SplitByteShown[] = "…";

// Calls `take(byteCount, value)` for each byte token of the event: a split
// byte alone, then whole words, then a split byte alone.
template <typename Take>
void ForEachToken(const TraceEvent& event, Take take) {
  const std::vector<std::uint8_t>& b = event.bytes;
  std::size_t at = 0;
  if (event.oddStart && !b.empty()) take(1, b[at++]);
  for (; at + 1 < b.size(); at += 2) take(2, unsigned(b[at] | b[at + 1] << 8));
  if (at < b.size()) take(1, b[at]);
}

// The hex tokens, and for received bytes " |" and what each token shows,
// appended where they go (a flood makes many lines: no string of their own).
void AppendBytesField(std::string& out, const TraceEvent& event, ShownWords& words) {
  ForEachToken(event, [&out](int count, unsigned value) {
    out += ' ';
    AppendHex(out, value, 2 * count);
  });
  if (event.kind != TraceKind::Received) return;
  out += " |";
  ForEachToken(event, [&out, &words](int count, unsigned value) {
    out += ' ';
    out += count == 2 ? words.Of(std::uint16_t(value)).c_str() : SplitByteShown;
  });
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

bool KindOf(const std::string& name, TraceKind& kind) {
  for (const KindName& entry : KindNames) {
    if (name == entry.name) {
      kind = entry.kind;
      return true;
    }
  }
  return false;
}

// One hex token: two digits a byte, four a word (its value, low byte first on the line).
bool TakeToken(const std::string& token, std::vector<std::uint8_t>& bytes) {
  if (token.size() != 2 && token.size() != 4) return false;
  unsigned value = 0;
  for (const char c : token) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return false;
    value = value * 16 + unsigned(digit);
  }
  bytes.push_back(std::uint8_t(value & 0xFF));
  if (token.size() == 4) bytes.push_back(std::uint8_t(value >> 8));
  return true;
}

// The hex tokens up to " |" or the end; a split byte only first or last.
bool TakeBytes(std::istringstream& in, TraceEvent& event) {
  std::string token;
  std::size_t count = 0;
  bool splitLast = false;
  while (in >> token && token != "|") {
    if (splitLast || !TakeToken(token, event.bytes)) return false;
    const bool split = token.size() == 2;
    if (split && count == 0) event.oddStart = true;
    else splitLast = split;
    ++count;
  }
  return count > 0;
}

}  // namespace

const std::string& ShownWords::Of(std::uint16_t word) {
  if (shown_.empty()) shown_.resize(0x10000);
  std::string& text = shown_[word];
  if (!text.empty()) return text;
  for (const WordName& entry : ControlNames) {
    if (entry.word == word) return text = entry.name;
  }
  std::uint8_t form[2];
  DisplayForm(word, form);
  return text = decoder_(form, 2);
}

void AppendTraceEvent(std::string& out, const TraceEvent& event, ShownWords& shown) {
  const TraceTime& t = event.time;
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%06d +%" PRIu64 "ms ", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.microsecond, t.sinceStartMs);
  out += stamp;
  out += KindText(event.kind);
  if (HasBytes(event.kind)) AppendBytesField(out, event, shown);
  if (HasText(event.kind)) out += " " + Escaped(event.text);
}

std::string FormatTraceEvent(const TraceEvent& event, ShownWords& shown) {
  std::string line;
  AppendTraceEvent(line, event, shown);
  return line;
}

bool ParseTraceEvent(const std::string& line, TraceEvent& event, std::string& error) {
  event = TraceEvent{};
  TraceTime& t = event.time;
  int used = 0;
  error = "not a trace line: " + line;
  if (std::sscanf(line.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%6d +%" SCNu64 "ms %n", &t.year, &t.month, &t.day,
                  &t.hour, &t.minute, &t.second, &t.microsecond, &t.sinceStartMs, &used) != 8 || used == 0) {
    return false;
  }
  std::istringstream in(line.substr(std::size_t(used)));
  std::string kind;
  if (!(in >> kind) || !KindOf(kind, event.kind)) return false;
  if (HasBytes(event.kind)) return TakeBytes(in, event);
  if (!HasText(event.kind)) return in.get() == std::char_traits<char>::eof();
  const std::size_t textAt = std::size_t(used) + kind.size() + 1;
  event.text = textAt < line.size() ? Unescaped(line.substr(textAt)) : std::string();
  return true;
}
