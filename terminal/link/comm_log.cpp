#include "terminal/link/comm_log.h"

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"

bool OpenLog(LinkSession& session, const char* fileName) {
  const LogResult result = session.connection.Log().Open(fileName != nullptr ? fileName : "Talvorix.log");
  if (result != LogResult::Done) session.view.LogFailed(result);
  return result == LogResult::Done;
}

// Called inside Receive: the failure is told, and shown once Receive has returned.
bool FileCommLog::Append(const std::uint8_t* bytes, int length) {
  if (length <= 0 || session_.connection.Log().Append(bytes, std::size_t(length)) == LogResult::Done) return true;
  session_.host.Tell(Notice{LinkCaption, LogWriteFailedText, TextCoding::Utf8, MessageIcon::Error});
  return false;
}
