#include "terminal/link/comm_log.h"

#include "terminal/link/link_session.h"

bool OpenLog(LinkSession& session, const char* fileName) {
  const LogResult result = session.connection.Log().Open(fileName != nullptr ? fileName : "Talvorix.log");
  if (result != LogResult::Done) session.view.LogFailed(result);
  return result == LogResult::Done;
}

bool FileCommLog::Append(const std::uint8_t* bytes, int length) {
  return length <= 0 || session_.connection.LogReceived(bytes, std::size_t(length));
}
