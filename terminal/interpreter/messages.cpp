#include "terminal/interpreter/messages.h"

void ShowFailure(HostWindow& host, std::string_view text) {
  host.Tell(Notice{std::string(MessageCaption), std::string(text), TextCoding::Utf8, MessageIcon::Error});
}
