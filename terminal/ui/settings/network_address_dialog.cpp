#include "terminal/ui/settings/network_address_dialog.h"

#include <string>

#include "terminal/link/settings/settings_ids.h"

namespace {

// The kinds in the order of the list; the address is entered without its scheme.
constexpr const wchar_t* KindTexts[] = {L"RFC 2217", L"TCP (生データ)"};
constexpr const char* KindSchemes[] = {"rfc2217://", "socket://"};
constexpr int AddressChars = 300;

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), int(wide.size()));
  wide.resize(length > 0 ? std::size_t(length) : 0);
  return wide;
}

std::string Narrow(const wchar_t* text) {
  char narrow[AddressChars * 3] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
  return narrow;
}

void Show(HWND dialog, const std::optional<NetworkPort>& port) {
  for (const wchar_t* text : KindTexts) SendDlgItemMessageW(dialog, IDC_NETWORK_KIND, CB_ADDSTRING, 0, LPARAM(text));
  const bool raw = port && port->kind == NetworkKind::RawTcp;
  SendDlgItemMessageW(dialog, IDC_NETWORK_KIND, CB_SETCURSEL, raw ? 1 : 0, 0);
  if (!port) return;
  const std::string text = port->Text();
  SetDlgItemTextW(dialog, IDC_NETWORK_ADDRESS, Wide(text.substr(text.find("//") + 2)).c_str());
}

// The port entered, or a message and nothing.
bool Take(HWND dialog, std::optional<NetworkPort>& port) {
  wchar_t address[AddressChars] = {};
  GetDlgItemTextW(dialog, IDC_NETWORK_ADDRESS, address, AddressChars);
  const bool raw = SendDlgItemMessageW(dialog, IDC_NETWORK_KIND, CB_GETCURSEL, 0, 0) == 1;
  NetworkPort entered;
  std::string error;
  if (!ParseNetworkPort(KindSchemes[raw ? 1 : 0] + Narrow(address), entered, error)) {
    MessageBoxW(dialog, L"接続先は「ホスト名:ポート番号」の形で指定してください（IPv6 アドレスは [::1]:7416 の形）。",
                L"通信ターミナル", MB_ICONWARNING);
    return false;
  }
  port = entered;
  return true;
}

INT_PTR CALLBACK AddressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* port = reinterpret_cast<std::optional<NetworkPort>*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Show(dialog, *reinterpret_cast<std::optional<NetworkPort>*>(lParam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == IDOK && Take(dialog, *port)) EndDialog(dialog, 1);
  if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
  return TRUE;
}

}  // namespace

bool RunNetworkAddressDialog(HWND owner, std::optional<NetworkPort>& port) {
  std::optional<NetworkPort> entered = port;
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  if (DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_NETWORK_ADDRESS), owner, AddressDialogProc,
                      reinterpret_cast<LPARAM>(&entered)) != 1) {
    return false;
  }
  port = entered;
  return true;
}
