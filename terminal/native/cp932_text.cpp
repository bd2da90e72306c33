#include "terminal/native/cp932_text.h"

#include <iconv.h>

#include <cerrno>

namespace {

constexpr char ReplacementCharacter[] = "\xEF\xBF\xBD";

}  // namespace

std::string Cp932ToUtf8(const std::uint8_t* bytes, std::size_t length) {
  std::string text;
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
  std::size_t inLeft = length;
  char buffer[256];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    text.append(buffer, std::size_t(out - buffer));
    if (result == std::size_t(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL: one byte that does not start a character.
      text += ReplacementCharacter;
      ++in;
      --inLeft;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return text;
}

bool Utf8ToCp932(std::string_view utf8, std::string& cp932) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  cp932.assign(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = cp932.data();
  std::size_t outLeft = cp932.size();
  const bool converted = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1);
  iconv_close(converter);
  cp932.resize(cp932.size() - outLeft);
  return converted;
}
