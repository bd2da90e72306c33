#include "tools/cli/wide_text.h"

#include <iconv.h>

bool Utf8ToWide(std::string_view utf8, std::wstring& wide) {
  wide.assign(utf8.size() + 1, L'\0');
  iconv_t converter = iconv_open("WCHAR_T", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = reinterpret_cast<char*>(wide.data());
  std::size_t outLeft = wide.size() * sizeof(wchar_t);
  const bool converted = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1);
  iconv_close(converter);
  wide.resize(wide.size() - outLeft / sizeof(wchar_t));
  return converted;
}
