#include "terminal/link/trace_writer.h"

bool TraceWriter::Open(const std::string& name, bool connected) {
  if (IsOpen()) return true;
  if (!file_.Open(name)) return false;
  receivedOdd_ = false;
  sentOdd_ = false;
  WriteLine(TraceHeaderLine);
  if (connected) StartCount(TraceKind::Start);
  Sync();
  return IsOpen();
}

void TraceWriter::Close() {
  if (!IsOpen()) return;
  Sync();
  file_.Close();
}

TraceEvent TraceWriter::Event(TraceKind kind) {
  TraceEvent event;
  event.kind = kind;
  event.time = clock_.Now();
  event.time.sinceStartMs -= startMs_;
  return event;
}

void TraceWriter::StartCount(TraceKind kind) {
  TraceEvent event;
  event.kind = kind;
  event.time = clock_.Now();
  startMs_ = event.time.sinceStartMs;
  event.time.sinceStartMs = 0;
  receivedOdd_ = false;
  sentOdd_ = false;
  Write(event);
  Sync();
}

void TraceWriter::SessionStarted() {
  if (!IsOpen()) return;
  Flush();
  StartCount(TraceKind::Start);
}

void TraceWriter::Connection(ConnectionEvent event, const std::string& detail) {
  if (!IsOpen() || event == ConnectionEvent::Connected) return;
  Flush();
  TraceEvent traced = Event(event == ConnectionEvent::Reconnected ? TraceKind::Reconnect
                            : event == ConnectionEvent::Closed    ? TraceKind::End
                            : event == ConnectionEvent::Lost    ? TraceKind::Lost
                            : event == ConnectionEvent::Waiting ? TraceKind::Waiting
                                                                : TraceKind::WaitEnded);
  traced.text = detail;
  Write(traced);
  Sync();
}

void TraceWriter::Received(const std::uint8_t* bytes, std::size_t length) {
  if (!IsOpen() || length == 0) return;
  Flush();
  TraceEvent event = Event(TraceKind::Received);
  event.bytes.assign(bytes, bytes + length);
  event.oddStart = receivedOdd_;
  receivedOdd_ = (length + (receivedOdd_ ? 1 : 0)) % 2 != 0;
  Write(event);
}

void TraceWriter::Sent(std::uint8_t byte) {
  if (!IsOpen()) return;
  if (!sentPending_) {
    pendingSent_ = Event(TraceKind::Sent);
    pendingSent_.oddStart = sentOdd_;
    sentPending_ = true;
  }
  pendingSent_.bytes.push_back(byte);
  sentOdd_ = !sentOdd_;
}

void TraceWriter::User(const std::uint8_t* bytes, std::size_t length) {
  if (!IsOpen() || length == 0) return;
  Flush();
  TraceEvent event = Event(TraceKind::User);
  event.bytes.assign(bytes, bytes + length);
  Write(event);
}

void TraceWriter::Message(const std::string& caption, const std::string& text) {
  if (!IsOpen()) return;
  Flush();
  TraceEvent event = Event(TraceKind::Message);
  event.text = caption + "|" + text;
  Write(event);
  Sync();
}

void TraceWriter::Flush() {
  if (!sentPending_) return;
  sentPending_ = false;
  Write(pendingSent_);
}

void TraceWriter::Write(const TraceEvent& event) {
  if (!IsOpen()) return;
  AppendTraceEvent(gathered_, event, shown_);
  EndLine();
}

void TraceWriter::Sync() {
  Flush();
  WriteOut();
}

void TraceWriter::WriteLine(const std::string& line) {
  if (!IsOpen()) return;
  gathered_ += line;
  EndLine();
}

void TraceWriter::EndLine() {
  gathered_ += '\n';
  if (gathered_.size() >= TraceBufferBytes) WriteOut();
}

void TraceWriter::WriteOut() {
  if (gathered_.empty()) return;
  const bool written = file_.Append(reinterpret_cast<const std::uint8_t*>(gathered_.data()), gathered_.size());
  gathered_.clear();
  if (!written) file_.Close();
}
