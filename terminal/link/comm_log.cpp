#include "terminal/link/comm_log.h"

#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"

namespace {

// Shows the message of a failed log operation; true when there was none.
bool Done(LogResult result) {
  if (result == LogResult::Done) return true;
  ShowLinkMessage(result == LogResult::OpenFailed ? LogCreateFailedText : LogWriteFailedText, MessageIcon::Error);
  return false;
}

}  // namespace

bool OpenLog(const char* fileName) {
  return Done(linkSession.log.Open(fileName != nullptr ? fileName : "Talvorix.log"));
}

bool WriteStamp(StampKind kind) { return Done(linkSession.log.Stamp(kind)); }

bool FileCommLog::Append(const std::uint8_t* bytes, int length) {
  return length <= 0 || Done(linkSession.log.Append(bytes, std::size_t(length)));
}

void CloseLog() { linkSession.log.Close(); }
