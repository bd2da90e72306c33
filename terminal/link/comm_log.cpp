#include "terminal/link/comm_log.h"

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"

namespace {

// Shows the message of a failed log operation; true when there was none.
bool Done(LogResult result) {
  if (result == LogResult::Done) return true;
  ShowLogFailure(result);
  return false;
}

}  // namespace

bool OpenLog(const char* fileName) {
  return Done(linkSession.connection.Log().Open(fileName != nullptr ? fileName : "Talvorix.log"));
}

void ShowLogFailure(LogResult result) {
  ShowLinkMessage(result == LogResult::OpenFailed ? LogCreateFailedText : LogWriteFailedText, MessageIcon::Error);
}

bool FileCommLog::Append(const std::uint8_t* bytes, int length) {
  return length <= 0 || Done(linkSession.connection.Log().Append(bytes, std::size_t(length)));
}

void CloseLog() { linkSession.connection.Log().Close(); }
