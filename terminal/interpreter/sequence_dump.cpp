#include "terminal/interpreter/sequence_dump.h"

#include <cstdlib>
#include <string_view>

#include "terminal/interpreter/dump_line.h"
#include "terminal/interpreter/messages.h"

namespace {

constexpr int BytesPerLine = 16;
constexpr int LineSlot = 70;  // a line, its line feed and room for the formatter's zero
constexpr std::string_view DumpCaption = "デバッグデータ内容";

}  // namespace

int ShowSequenceDump(HostWindow& host, const std::uint8_t* words, int byteLength) {
  if (byteLength < 0) byteLength = 0;
  const int full = byteLength / BytesPerLine;
  const int rest = byteLength & 0x0E;  // an odd last byte is not shown
  const int lines = full + (rest != 0 ? 1 : 0);
  const std::size_t size = std::size_t(lines) * LineSlot + 8;
  char* text = static_cast<char*>(std::calloc(size, 1));
  if (text == nullptr) {
    ShowFailure(host, NoMemoryText);
    return -1;
  }
  std::size_t length = 0;
  for (int i = 0; i < full; ++i) {
    length += FormatDumpLine(std::uint32_t(i * BytesPerLine), words + i * BytesPerLine,
                             BytesPerLine, text + length);
    text[length++] = '\n';
  }
  if (rest != 0) {
    length += FormatDumpLine(std::uint32_t(full * BytesPerLine), words + full * BytesPerLine, rest,
                             text + length);
  }
  host.Tell(Notice{std::string(DumpCaption), std::string(text, length), TextCoding::Cp932, MessageIcon::None});
  std::free(text);
  return 0;
}
