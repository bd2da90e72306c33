#include "terminal/interpreter/messages.h"

#include "terminal/model/platform.h"

void ShowFailure(Window window, std::string_view text) {
  platform->ShowMessage(window, text, TextCoding::Utf8, MessageCaption, MessageIcon::Error);
}
