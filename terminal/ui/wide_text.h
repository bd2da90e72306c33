// Every user-interface text reaches Win32 as UTF-16, so that it shows
// correctly whatever the system code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "terminal/model/roles.h"

// UTF-8 (the program's own texts) or code page 932 (screen and wire text) to UTF-16.
std::wstring WideText(std::string_view text, TextCoding coding = TextCoding::Utf8);

// A message box whose text and caption are UTF-8.
int MessageBoxUtf8(HWND owner, std::string_view text, std::string_view caption, UINT type);

// The caption of the program's own messages.
extern const char* const ProgramCaption;  // "通信ターミナル"
