// Checks the Windows half of keyboard and IME input against the real Win32
// calls (run under Wine by the native tree's tests): key messages through
// TerminalKeyDown/TerminalKeyUp, the input method's open status, the keyboard's
// lock states, and text composed with the input method, converted with the
// code page 932 tables.
#include <windows.h>
#include <imm.h>

#include <cstdio>
#include <string>
#include <vector>

#include "terminal/input/input_win32.h"
#include "terminal/input/key_data.h"
#include "tests/input/recording_platform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

int failures = 0;

// The keyboard of the check and what it sent and showed.
InputTest* input = nullptr;
KeyData& Keys() { return input->keyboard.Key_Data; }

void Check(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  char part[4];
  for (std::uint8_t byte : bytes) {
    std::snprintf(part, sizeof part, "%02X ", byte);
    text += part;
  }
  return text;
}

void CheckBytes(const Bytes& actual, const Bytes& expected, const char* what) {
  if (actual != expected) std::printf("  got %s, want %s\n", Hex(actual).c_str(), Hex(expected).c_str());
  Check(actual == expected, what);
}

// Routes the keyboard and composition messages as the terminal window does.
LRESULT CALLBACK TerminalLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN: return TerminalKeyDown(window, input->keyboard, wParam, lParam);
    case WM_KEYUP: return TerminalKeyUp(window, Keys(), wParam, lParam);
    case WM_IME_COMPOSITION: return TerminalImeComposition(window, input->keyboard, wParam, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateTestWindow() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = TerminalLikeProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"InputCheckWindow";
  RegisterClassW(&windowClass);
  // A top-level window, never shown: a message-only window has no input context.
  return CreateWindowW(L"InputCheckWindow", L"input check", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                       nullptr, nullptr, windowClass.hInstance, nullptr);
}

void SetToggle(BYTE state[256], int key, bool on) {
  state[key] = on ? 0x01 : 0x00;
}

void CheckLockStatesAreReadAtStart() {
  BYTE state[256] = {};
  SetToggle(state, VK_CAPITAL, true);
  SetKeyboardState(state);
  InitKeyboardStateFromKeyboard(Keys());
  Check(Keys().modes == ModeCapsLock, "Caps Lock toggled on gives modes 0x02");
  SetToggle(state, VK_CAPITAL, false);
  SetToggle(state, VK_KANA, true);
  SetKeyboardState(state);
  InitKeyboardStateFromKeyboard(Keys());
  Check(Keys().modes == ModeKanaLock, "Kana toggled on gives modes 0x10");
  SetToggle(state, VK_KANA, false);
  SetKeyboardState(state);
  InitKeyboardStateFromKeyboard(Keys());
  Check(Keys().modes == 0, "no lock on gives modes 0");
}

// A lock pressed while another window had the focus: the terminal window reads
// the two lock bits again when it gets the focus, and keeps the IME bit.
void CheckLockStatesAreReadAgainOnFocus() {
  BYTE state[256] = {};
  SetToggle(state, VK_KANA, true);
  SetKeyboardState(state);
  Keys().modes = ModeCapsLock | ModeImeInput;
  ReadLockModesFromKeyboard(Keys());
  Check(Keys().modes == (ModeKanaLock | ModeImeInput), "the focus brings the lock bits in step");
  SetToggle(state, VK_KANA, false);
  SetKeyboardState(state);
}

void CheckKeyMessages(HWND window, RecordingOutput& recorder) {
  recorder.sent.clear();
  Check(TerminalKeyDown(window, input->keyboard, 'A', 0x001E0001) == 0, "A is handled");
  CheckBytes(recorder.sent, {0x00, 0x00, 0x1D, 0x00, 0x61, 0x23, 0x41, 0x04}, "A report");
  Check(recorder.LastStatus() == "鍵盤入力データ：2361, 9821コード：001d, 修飾鍵盤：0000",
        "A status text");

  recorder.sent.clear();
  TerminalKeyDown(window, input->keyboard, VK_SHIFT, 0x002A0001);
  TerminalKeyDown(window, input->keyboard, 'A', 0x001E0001);
  TerminalKeyUp(window, Keys(), VK_SHIFT, 0xC02A0001);
  TerminalKeyDown(window, input->keyboard, VK_UP, 0x01480001);
  TerminalKeyDown(window, input->keyboard, VK_NUMPAD5, 0x004C0001);
  TerminalKeyDown(window, input->keyboard, VK_APPS, 0x015D0001);
  CheckBytes(recorder.sent,
             {0x22, 0x00, 0x1D, 0x00, 0x41, 0x23, 0x41, 0x04,  //
              0x00, 0x00, 0x3A, 0x00, 0xFF, 0xFF, 0x26, 0x52,  //
              0x00, 0x00, 0x47, 0x00, 0x35, 0x23, 0x65, 0x5D,  //
              0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x5D, 0x65},
             "Shift+A, Up, Keypad 5, Applications");

  recorder.sent.clear();
  TerminalKeyDown(window, input->keyboard, 'A', 0x201E0001);  // Alt-held flag
  CheckBytes(recorder.sent, {0x44, 0x00, 0x1D, 0x00, 0x41, 0x26, 0x41, 0x04}, "Alt flag gives α");
  TerminalKeyUp(window, Keys(), 'A', 0xC01E0001);
  Check(Keys().modifiers == 0, "key-up without the Alt flag clears Alt");

  recorder.sent.clear();
  TerminalKeyDown(window, input->keyboard, VK_PROCESSKEY, 0x00000001);
  Check(recorder.sent.empty(), "an unknown key sends nothing");
  Check(recorder.LastStatus() == "不明の鍵盤入力：00e5", "unknown key status text");
}

bool ImeOpen(HWND window) {
  HIMC context = ImmGetContext(window);
  const bool open = context != nullptr && ImmGetOpenStatus(context);
  if (context != nullptr) ImmReleaseContext(window, context);
  return open;
}

void CheckKanjiKey(HWND window, RecordingOutput& recorder) {
  HIMC context = ImmGetContext(window);
  Check(context != nullptr, "the window has an input context");
  if (context != nullptr) ImmReleaseContext(window, context);
  recorder.sent.clear();
  TerminalKeyDown(window, input->keyboard, VK_KANJI, 0x00000001);
  Check(ImeInputModeOn(Keys()), "Kanji key turns IME input mode on");
  Check(ImeOpen(window), "Kanji key opens the input method");
  TerminalKeyDown(window, input->keyboard, 'A', 0x001E0001);
  Check(recorder.sent.empty(), "keys in IME input mode send nothing");
  TerminalKeyDown(window, input->keyboard, VK_KANJI, 0x00000001);
  Check(!ImeInputModeOn(Keys()), "Kanji key again turns IME input mode off");
  Check(!ImeOpen(window), "Kanji key again closes the input method");
  Check(recorder.sent.empty(), "Kanji key sends nothing");
}

Bytes Encoded(const std::u16string& character) {
  std::uint8_t bytes[2] = {};
  const int size = EncodeCp932Character(character.data(), int(character.size()), bytes);
  return Bytes(bytes, bytes + (size > 0 ? size : 0));
}

void CheckCodePage932Encoding() {
  CheckBytes(Encoded(u"あ"), {0x82, 0xA0}, "あ in code page 932");
  CheckBytes(Encoded(u"A"), {0x41}, "A in code page 932");
  CheckBytes(Encoded(u"ｱ"), {0xB1}, "half-width ｱ in code page 932");
  CheckBytes(Encoded(u"㍻"), {0x87, 0x7E}, "㍻ in code page 932");
  CheckBytes(Encoded(u"～"), {0x81, 0x60}, "FULLWIDTH TILDE in code page 932");
  CheckBytes(Encoded(u"é"), {}, "é has no exact code page 932 form");
  CheckBytes(Encoded(u"😀"), {}, "an emoji has no code page 932 form");
  CheckBytes(Encoded(std::u16string(1, char16_t(0xD800))), {}, "a lone surrogate has no form");
}

void CheckComposedText(HWND window, RecordingOutput& recorder) {
  recorder.sent.clear();
  const std::u16string text = u"あA";
  SendComposedUtf16(recorder, text.data(), int(text.size()));
  CheckBytes(recorder.sent, {0x22, 0x24, 0x41, 0x00}, "あA sent as JIS words");
  Check(recorder.LastStatus() == "送信データ：0041, 送信内容：A", "last character status");

  recorder.sent.clear();
  const std::u16string kanji = u"日本語😀ｱ〜−";
  SendComposedUtf16(recorder, kanji.data(), int(kanji.size()));
  CheckBytes(recorder.sent,
             {0x7C, 0x46, 0x5C, 0x4B, 0x6C, 0x38, 0x29, 0x21, 0xB1, 0x00, 0x41, 0x21, 0x5D, 0x21},
             "日本語, an emoji as ？, half-width ｱ, WAVE DASH as ～, MINUS SIGN as －");

  recorder.sent.clear();
  const std::u16string overlong(300, u'あ');
  SendComposedUtf16(recorder, overlong.data(), int(overlong.size()));
  Check(recorder.sent.size() == 256, "an overlong result is cut after 128 double-byte characters");

  recorder.sent.clear();
  Check(TerminalImeComposition(window, input->keyboard, 0, GCS_RESULTSTR) == 0, "composition returns 0");
  Check(recorder.sent.empty(), "composition outside IME input mode sends nothing");
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Has the input method compose `text` and finish it, as if the user had typed
// and confirmed it; the result arrives as WM_IME_COMPOSITION.
void ComposeAndConfirm(HWND window, const std::wstring& text) {
  HIMC context = ImmGetContext(window);
  if (context == nullptr) return;
  ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(text.c_str()),
                           DWORD(text.size() * sizeof(wchar_t)), nullptr, 0);
  ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ImmReleaseContext(window, context);
  PumpMessages();
}

void CheckImeResults(HWND window, RecordingOutput& recorder) {
  SendMessageW(window, WM_KEYDOWN, VK_KANJI, 0x00000001);
  Check(ImeInputModeOn(Keys()), "IME input mode on for composing");
  recorder.sent.clear();
  recorder.statuses.clear();
  ComposeAndConfirm(window, L"\u65E5\u672CA");  // 日本A
  CheckBytes(recorder.sent, {0x7C, 0x46, 0x5C, 0x4B, 0x41, 0x00}, "composed 日本A sent once");
  Check(recorder.LastStatus() == "送信データ：0041, 送信内容：A", "status of the last character");
  Check(recorder.statuses.size() == 3, "one status text per character");

  recorder.sent.clear();
  ComposeAndConfirm(window, L"\uFF71\U0001F600\u301C");  // ｱ, an emoji, WAVE DASH
  CheckBytes(recorder.sent, {0xB1, 0x00, 0x29, 0x21, 0x41, 0x21}, "composed ｱ, emoji, wave dash");

  recorder.sent.clear();
  ComposeAndConfirm(window, std::wstring(300, L'\u3042'));
  Check(recorder.sent.size() == 256, "an overlong composed result sends 128 characters");

  SendMessageW(window, WM_KEYDOWN, VK_KANJI, 0x00000001);
  Check(!ImeInputModeOn(Keys()), "IME input mode off again");
  HIMC context = ImmGetContext(window);
  if (context != nullptr) {
    ImmSetOpenStatus(context, TRUE);  // opened by other means: the mode bit stays off
    ImmReleaseContext(window, context);
  }
  recorder.sent.clear();
  ComposeAndConfirm(window, L"\u65E5");
  Check(recorder.sent.empty(), "a result outside IME input mode is dropped");
}

}  // namespace

int main() {
  static InputTest test;
  input = &test;
  RecordingOutput& recorder = test.recorder;
  HWND window = CreateTestWindow();
  Check(window != nullptr, "test window created");
  if (window == nullptr) return 1;
  CheckLockStatesAreReadAtStart();
  CheckLockStatesAreReadAgainOnFocus();
  InitKeyboardState(Keys(), false, false);
  CheckKeyMessages(window, recorder);
  CheckKanjiKey(window, recorder);
  CheckCodePage932Encoding();
  CheckComposedText(window, recorder);
  CheckImeResults(window, recorder);
  DestroyWindow(window);
  std::printf("%s: %d failed\n", failures == 0 ? "passed" : "FAILED", failures);
  return failures == 0 ? 0 : 1;
}
