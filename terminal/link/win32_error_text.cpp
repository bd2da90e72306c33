#include "terminal/link/win32_error_text.h"

namespace {

// The system's message without its trailing line end and full stop.
std::wstring SystemMessage(DWORD error) {
  wchar_t buffer[512] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      buffer, sizeof buffer / sizeof buffer[0], nullptr);
  std::wstring text(buffer, length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.')) text.pop_back();
  return text;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return "";
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(std::size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace

std::string Win32ErrorText(DWORD error) {
  const std::string message = Utf8(SystemMessage(error));
  const std::string code = "error " + std::to_string(error);
  return message.empty() ? code : code + ": " + message;
}
