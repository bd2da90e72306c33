#include <windows.h>

#include "tests/input/recording_platform.h"

std::string Cp932ToUtf8(std::string_view cp932) {
  if (cp932.empty()) return "";
  const int units = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cp932.data(), int(cp932.size()),
                                        nullptr, 0);
  if (units <= 0) return "<not CP932>";
  std::wstring wide(std::size_t(units), L'\0');
  MultiByteToWideChar(932, 0, cp932.data(), int(cp932.size()), wide.data(), units);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string utf8(std::size_t(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}
