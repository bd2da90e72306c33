#include "terminal/ui/wide_text.h"

std::wstring WideText(std::string_view text, TextCoding coding) {
  if (text.empty()) return std::wstring();
  UINT codePage = coding == TextCoding::Utf8 ? CP_UTF8 : 932;
  int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(std::size_t(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &wide[0], length);
  return wide;
}

const char* const ProgramCaption = "通信ターミナル";

int MessageBoxUtf8(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return MessageBoxW(owner, WideText(text).c_str(), WideText(caption).c_str(), type);
}
