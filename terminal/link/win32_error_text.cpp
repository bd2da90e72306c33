#include "terminal/link/win32_error_text.h"

#include "terminal/link/win32_utf8.h"

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

}  // namespace

std::string Win32ErrorText(DWORD error) {
  const std::string message = Utf8OfWide(SystemMessage(error));
  const std::string code = "error " + std::to_string(error);
  return message.empty() ? code : code + ": " + message;
}
