#include "terminal/ui/settings/settings_dialog.h"

#include <string>
#include <string_view>

#include "terminal/link/settings/settings_form.h"
#include "terminal/link/settings/settings_ids.h"
#include "terminal/link/settings/settings_lists.h"
#include "terminal/model/screen_model.h"
#include "terminal/ui/resource_ids.h"
#include "terminal/ui/settings/font_dialog.h"
#include "terminal/ui/settings/network_address_dialog.h"

namespace {

// Room for one list text loaded from the string resources.
constexpr int ListTextChars = 102;

// The port list's last entry, below "TELNET": a network port (network_link.h),
// held beside portNumber, which keeps its meaning.
constexpr int NetworkEntry = PortEntryCount;
// What the open dialog edits beside the record (one dialog at a time): the
// caller's, or, for a dialog run by its procedure alone, one of its own.
NetworkPortEdit ownNetworkEdit;
NetworkPortEdit* networkEdit = &ownNetworkEdit;

std::wstring WideFromUtf8(std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(),
                                   int(wide.size()));
  wide.resize(length > 0 ? std::size_t(length) : 0);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string narrow(text.size() * 3, '\0');
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(),
                                   int(narrow.size()), nullptr, nullptr);
  narrow.resize(length > 0 ? std::size_t(length) : 0);
  return narrow;
}

// A string resource as UTF-16, or `fallback` when the program carries no such string.
std::wstring LoadListText(HINSTANCE instance, int id, std::string_view fallback) {
  wchar_t text[ListTextChars] = {};
  int length = LoadStringW(instance, UINT(id), text, ListTextChars);
  return length > 0 ? std::wstring(text, std::size_t(length)) : WideFromUtf8(fallback);
}

ScreenModel* ModelOfDialog(HWND dialog) {
  return reinterpret_cast<ScreenModel*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

LRESULT AddEntry(HWND dialog, int listId, const std::wstring& text) {
  return SendDlgItemMessageW(dialog, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// CB_SETCURSEL with NoSelection (-1) leaves the list without a selection.
void Select(HWND dialog, int listId, int position) {
  SendDlgItemMessageW(dialog, listId, CB_SETCURSEL, WPARAM(position), 0);
}

int SelectedPosition(HWND dialog, int listId) {
  LRESULT position = SendDlgItemMessageW(dialog, listId, CB_GETCURSEL, 0, 0);
  return position == CB_ERR ? NoSelection : int(position);
}

void FillValueList(HWND dialog, HINSTANCE instance, int listId, const ValueList& list) {
  for (int position = 0; position < list.count; ++position) {
    const ListEntry& entry = list.entries[position];
    LRESULT index = AddEntry(dialog, listId, LoadListText(instance, list.firstStringId + position, entry.text));
    SendDlgItemMessageW(dialog, listId, CB_SETITEMDATA, WPARAM(index), LPARAM(entry.value));
  }
}

void FillPortList(HWND dialog, HINSTANCE instance) {
  std::string portName = Utf8FromWide(LoadListText(instance, IDS_PORT_NAME, "COM"));
  for (int position = 0; position < PortEntryCount; ++position) {
    AddEntry(dialog, IDC_SETTINGS_PORT, WideFromUtf8(PortEntryText(portName, position)));
  }
  AddEntry(dialog, IDC_SETTINGS_PORT, L"ネットワーク...");
}

void FillDataBitsList(HWND dialog) {
  for (int position = 0; position < DataBitsEntryCount; ++position) {
    AddEntry(dialog, IDC_SETTINGS_DATA_BITS, WideFromUtf8(DataBitsEntryText(position)));
  }
}

void ShowForm(HWND dialog, const SettingsForm& form) {
  Select(dialog, IDC_SETTINGS_PORT, form.portPosition);
  EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_PORT), form.portEnabled);
  Select(dialog, IDC_SETTINGS_BAUD_RATE, form.baudRatePosition);
  Select(dialog, IDC_SETTINGS_DATA_BITS, form.dataBitsPosition);
  Select(dialog, IDC_SETTINGS_PARITY, form.parityPosition);
  Select(dialog, IDC_SETTINGS_STOP_BITS, form.stopBitsPosition);
  for (const CheckBoxField& box : CheckBoxTable) {
    CheckDlgButton(dialog, box.controlId, form.*box.checked ? BST_CHECKED : BST_UNCHECKED);
  }
  EnableWindow(GetDlgItem(dialog, IDC_SETTINGS_CN_RECEIVE), FALSE);
}

SettingsForm ReadForm(HWND dialog) {
  SettingsForm form{};
  form.portPosition = SelectedPosition(dialog, IDC_SETTINGS_PORT);
  form.portEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_SETTINGS_PORT)) != FALSE;
  form.baudRatePosition = SelectedPosition(dialog, IDC_SETTINGS_BAUD_RATE);
  form.dataBitsPosition = SelectedPosition(dialog, IDC_SETTINGS_DATA_BITS);
  form.parityPosition = SelectedPosition(dialog, IDC_SETTINGS_PARITY);
  form.stopBitsPosition = SelectedPosition(dialog, IDC_SETTINGS_STOP_BITS);
  for (const CheckBoxField& box : CheckBoxTable) {
    form.*box.checked = IsDlgButtonChecked(dialog, box.controlId) == BST_CHECKED;
  }
  return form;
}

INT_PTR InitDialog(HWND dialog, ScreenModel* model) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(model));
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  FillPortList(dialog, instance);
  FillValueList(dialog, instance, IDC_SETTINGS_BAUD_RATE, BaudRateList);
  FillDataBitsList(dialog);
  FillValueList(dialog, instance, IDC_SETTINGS_PARITY, ParityList);
  FillValueList(dialog, instance, IDC_SETTINGS_STOP_BITS, StopBitsList);
  if (model) ShowForm(dialog, FormFromState(model->state));
  if (networkEdit->port) Select(dialog, IDC_SETTINGS_PORT, NetworkEntry);
  return TRUE;
}

// OK with the network entry chosen opens the address dialog, which names the
// port (and shows the one chosen before); cancelled, the settings dialog
// stays open. Not when the list cannot be changed (while connected): the
// port stays as it is then. False: the settings dialog stays open.
bool StoreNetworkChoice(HWND dialog) {
  if (!IsWindowEnabled(GetDlgItem(dialog, IDC_SETTINGS_PORT))) return true;
  const bool network = SelectedPosition(dialog, IDC_SETTINGS_PORT) == NetworkEntry;
  std::optional<NetworkPort> port = networkEdit->port;
  if (network && !RunNetworkAddressDialog(dialog, port)) return false;
  networkEdit->port = network ? port : std::nullopt;
  networkEdit->chosen = true;
  return true;
}

// The font takes effect at once, and stays even when the settings dialog is
// then cancelled; the chosen font is also what an attribute reset restores.
void ChooseFontForTerminal(HWND dialog, ScreenModel& model) {
  TerminalState& state = model.state;
  COLORREF colour = state.fgColour;
  if (!ChooseTerminalFont(dialog, state.resetDefaults.fontSpec, colour)) return;
  CopyFontSpec(state.resetDefaults.fontSpec, state.fontSpec);
  state.fgColour = colour;
  state.defaultAttr.fg = colour;
  ApplyFontSpec(model);
}

INT_PTR Command(HWND dialog, int command) {
  ScreenModel* model = ModelOfDialog(dialog);
  switch (command) {
    case IDOK:
      if (!StoreNetworkChoice(dialog)) return TRUE;
      if (model) StoreForm(ReadForm(dialog), model->state);
      EndDialog(dialog, 1);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 1);
      return TRUE;
    case IDC_SETTINGS_FONT:
      if (model) ChooseFontForTerminal(dialog, *model);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR CALLBACK LineSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return InitDialog(dialog, reinterpret_cast<ScreenModel*>(lParam));
    case WM_COMMAND:
      return Command(dialog, LOWORD(wParam));
    case WM_DESTROY:
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR RunLineSettingsDialog(HINSTANCE instance, HWND mainWindow, ScreenModel* model, NetworkPortEdit* network) {
  if (!model) return 0;
  if (network != nullptr) networkEdit = network;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LINE_SETTINGS), mainWindow, LineSettingsDialogProc,
                  reinterpret_cast<LPARAM>(model));
  networkEdit = &ownNetworkEdit;
  return 1;
}
