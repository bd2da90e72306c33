#include <iconv.h>

#include "tests/input/recording_platform.h"

std::string Cp932ToUtf8(std::string_view cp932) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == iconv_t(-1)) return "<no CP932 converter>";
  std::string input(cp932);
  std::string output(input.size() * 4 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == std::size_t(-1)) return "<not CP932>";
  output.resize(output.size() - outLeft);
  return output;
}
