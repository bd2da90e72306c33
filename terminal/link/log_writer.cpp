#include "terminal/link/log_writer.h"

LogResult CommLogWriter::Open(const std::string& name) {
  if (file_.IsOpen()) return LogResult::Done;
  if (!file_.Open(name)) return LogResult::OpenFailed;
  return Write(HeaderLine(LogTimeText(file_.LocalTime())));
}

LogResult CommLogWriter::Stamp(StampKind kind) {
  const LogResult result = Write(StampLine(kind, LogTimeText(file_.LocalTime())));
  if (kind == StampKind::Start && file_.IsOpen()) dataStart_ = file_.End();
  return result;
}

LogResult CommLogWriter::Append(const std::uint8_t* bytes, std::size_t length) {
  if (!file_.IsOpen() || length == 0) return LogResult::Done;
  if (file_.Append(bytes, length)) return LogResult::Done;
  file_.Close();
  return LogResult::WriteFailed;
}

void CommLogWriter::Close() {
  if (file_.IsOpen()) file_.Close();
}

LogResult CommLogWriter::Write(const std::string& piece) {
  return Append(reinterpret_cast<const std::uint8_t*>(piece.data()), piece.size());
}

std::string LogFailureText(LogResult result, const std::string& path, const std::string& reason) {
  const char* what = result == LogResult::OpenFailed ? "cannot open the log " : "cannot write the log ";
  return what + path + ": " + reason;
}
