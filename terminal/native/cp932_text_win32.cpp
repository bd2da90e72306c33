#include <windows.h>

#include "terminal/link/win32_utf8.h"
#include "terminal/native/cp932_text.h"

// The Windows builds convert with the system's code page 932 table, which is
// the table the window draws its screen with; Linux uses iconv's CP932
// (cp932_text.cpp). Bytes that do not decode become U+FFFD one byte at a
// time on both.
namespace {

constexpr UINT ShiftJis = 932;
constexpr char ReplacementCharacter[] = "\xEF\xBF\xBD";

// False when the bytes hold anything that does not decode.
bool Decode(const char* bytes, int length, std::wstring& wide) {
  const int units = MultiByteToWideChar(ShiftJis, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (units <= 0) return false;
  wide.assign(std::size_t(units), L'\0');
  return MultiByteToWideChar(ShiftJis, MB_ERR_INVALID_CHARS, bytes, length, wide.data(), units) == units;
}

// The length of the character at `at`: two bytes after a lead byte that has a partner.
int CharacterLength(const std::uint8_t* bytes, std::size_t at, std::size_t length) {
  return at + 1 < length && IsDBCSLeadByteEx(ShiftJis, bytes[at]) ? 2 : 1;
}

}  // namespace

std::string Cp932ToUtf8(const std::uint8_t* bytes, std::size_t length) {
  std::wstring wide;
  if (length == 0) return "";
  if (Decode(reinterpret_cast<const char*>(bytes), int(length), wide)) return Utf8OfWide(wide);
  std::string text;
  for (std::size_t at = 0; at < length;) {
    const int size = CharacterLength(bytes, at, length);
    if (Decode(reinterpret_cast<const char*>(bytes + at), size, wide)) {
      text += Utf8OfWide(wide);
      at += std::size_t(size);
    } else {
      text += ReplacementCharacter;
      ++at;
    }
  }
  return text;
}

bool Utf8ToCp932(std::string_view utf8, std::string& cp932) {
  cp932.clear();
  if (utf8.empty()) return true;
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
  if (units <= 0) return false;
  std::wstring wide(std::size_t(units), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), units);
  BOOL lost = FALSE;
  const int size = WideCharToMultiByte(ShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr, &lost);
  if (size <= 0 || lost) return false;
  cp932.assign(std::size_t(size), '\0');
  WideCharToMultiByte(ShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), units, cp932.data(), size, nullptr, &lost);
  return !lost;
}
