#include "terminal/input/input_win32.h"

#include <imm.h>

#include <algorithm>
#include <vector>

#include "terminal/input/composed_text_encoding.h"
#include "terminal/input/key_data.h"
#include "terminal/input/key_messages.h"

namespace {

constexpr UINT ShiftJisCodePage = 932;

LRESULT DefaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                 : DefWindowProcA(window, message, wParam, lParam);
}

KeyStroke StrokeOf(WPARAM wParam, LPARAM lParam) {
  return KeyStrokeFromMessage(wParam, static_cast<std::uint32_t>(lParam));
}

// Without an input context (no input method) the call does nothing; the mode
// bit has been switched all the same.
void SetImeOpenStatus(HWND window, bool open) {
  HIMC context = ImmGetContext(window);
  if (context == nullptr) return;
  ImmSetOpenStatus(context, open ? TRUE : FALSE);
  ImmReleaseContext(window, context);
}

LRESULT FinishKeyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         const KeyOutcome& outcome) {
  if (outcome.ime != ImeRequest::None) SetImeOpenStatus(window, outcome.ime == ImeRequest::Open);
  return outcome.defaultProcessing ? DefaultProcessing(window, message, wParam, lParam) : 0;
}

// The result string as UTF-16, exactly as long as the input method says it
// is. It is converted to code page 932 here, not by the input method (the
// ANSI form would use the system's code page), so composed Japanese reaches
// the device alike on every system.
std::vector<char16_t> ReadResultString(HWND window) {
  std::vector<char16_t> result;
  HIMC context = ImmGetContext(window);
  if (context == nullptr) return result;
  const LONG needed = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  if (needed > 0) {
    std::vector<wchar_t> buffer(std::size_t(needed) / sizeof(wchar_t) + 1);
    const LONG got = ImmGetCompositionStringW(context, GCS_RESULTSTR, buffer.data(),
                                              DWORD(buffer.size() * sizeof(wchar_t)));
    if (got > 0) {
      const std::size_t units = std::min(std::size_t(got) / sizeof(wchar_t), buffer.size());
      result.assign(buffer.begin(), buffer.begin() + std::ptrdiff_t(units));
    }
  }
  ImmReleaseContext(window, context);
  return result;
}

bool Toggled(int virtualKey) { return (GetKeyState(virtualKey) & 1) != 0; }

// The keyboard state the release hook works on, and the hook.
KeyData* watchedKeys = nullptr;
HHOOK releaseHook = nullptr;

// Sees every key message the thread takes from its queue, for any of its
// windows and inside modal loops too; bit 31 of lParam marks a release.
LRESULT CALLBACK WatchKeyRelease(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (DWORD(lParam) & 0x80000000u) != 0 && watchedKeys != nullptr) {
    ReleaseModifierKey(*watchedKeys, unsigned(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void InitKeyboardStateFromKeyboard(KeyData& keys) {
  InitKeyboardState(keys, Toggled(VK_CAPITAL), Toggled(VK_KANA));
}

void ReadLockModesFromKeyboard(KeyData& keys) { SetLockModes(keys, Toggled(VK_CAPITAL), Toggled(VK_KANA)); }

void WatchKeyReleases(KeyData& keys) {
  watchedKeys = &keys;
  if (releaseHook == nullptr) {
    releaseHook = SetWindowsHookExW(WH_KEYBOARD, WatchKeyRelease, nullptr, GetCurrentThreadId());
  }
}

void StopWatchingKeyReleases() {
  if (releaseHook != nullptr) UnhookWindowsHookEx(releaseHook);
  releaseHook = nullptr;
  watchedKeys = nullptr;
}

LRESULT TerminalKeyDown(HWND window, Keyboard& keyboard, WPARAM wParam, LPARAM lParam) {
  return FinishKeyMessage(window, WM_KEYDOWN, wParam, lParam, KeyDown(keyboard, StrokeOf(wParam, lParam)));
}

LRESULT TerminalKeyUp(HWND window, KeyData& keys, WPARAM wParam, LPARAM lParam) {
  return FinishKeyMessage(window, WM_KEYUP, wParam, lParam, KeyUp(keys, StrokeOf(wParam, lParam)));
}

LRESULT TerminalImeComposition(HWND window, Keyboard& keyboard, WPARAM wParam, LPARAM lParam) {
  if (ImeInputModeOn(keyboard.Key_Data)) SendImeResult(window, keyboard.output, wParam, lParam);
  return 0;
}

void SendImeResult(HWND window, KeyboardOutput& output, WPARAM wParam, LPARAM lParam) {
  if (lParam & (GCS_RESULTSTR | GCS_RESULTCLAUSE)) {
    const std::vector<char16_t> result = ReadResultString(window);
    SendComposedUtf16(output, result.data(), int(result.size()));
  }
  DefaultProcessing(window, WM_IME_COMPOSITION, wParam, lParam);
}

// Exact forms only (no best fit, which differs between systems): a character
// without one comes back with the default character and is replaced.
int EncodeCp932Character(const char16_t* character, int unitCount, std::uint8_t bytes[2]) {
  const int count = std::min(unitCount, 2);
  wchar_t wide[2] = {};
  for (int i = 0; i < count; ++i) wide[i] = wchar_t(character[i]);
  char encoded[4];
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, count,
                                       encoded, sizeof encoded, nullptr, &usedDefault);
  if (usedDefault || size < 1 || size > 2) return 0;
  for (int i = 0; i < size; ++i) bytes[i] = std::uint8_t(encoded[i]);
  return size;
}

void SendComposedUtf16(KeyboardOutput& output, const char16_t* units, int unitCount) {
  std::uint8_t text[ComposedTextCapacity];
  const int length = EncodeComposedText(units, unitCount, EncodeCp932Character, text);
  SendComposedText(output, text, length);
}
