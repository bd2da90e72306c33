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

// Called inside Receive: the failure is told, and shown once Receive has returned.
bool FileCommLog::Append(const std::uint8_t* bytes, int length) {
  if (length <= 0 || linkSession.connection.Log().Append(bytes, std::size_t(length)) == LogResult::Done) return true;
  if (linkSession.host != nullptr) {
    linkSession.host->Tell(Notice{LinkCaption, LogWriteFailedText, TextCoding::Utf8, MessageIcon::Error});
  }
  return false;
}

void CloseLog() { linkSession.connection.Log().Close(); }
