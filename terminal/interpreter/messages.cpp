#include "terminal/interpreter/messages.h"

void ShowFailure(HostWindow& host, std::string_view text) {
  host.ShowMessage(text, TextCoding::Utf8, MessageCaption, MessageIcon::Error);
}
