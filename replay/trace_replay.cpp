#include "replay/trace_replay.h"

#include <cstdio>

namespace {

// One event at its time on the replay's clock (`base` + its milliseconds).
void PlayEvent(HeadlessTerminal& native, const TraceEvent& event, std::uint64_t base, ExpectedSent& expected) {
  Terminal& terminal = *native.terminal;
  const std::uint64_t now = base + event.time.sinceStartMs;
  native.platform.clock = now;
  const std::uint8_t* bytes = event.bytes.data();
  switch (event.kind) {
    case TraceKind::Received: return terminal.Receive(bytes, event.bytes.size());
    case TraceKind::User: return terminal.SendFromUser(bytes, int(event.bytes.size()));
    case TraceKind::Message: return terminal.Tick(now);
    case TraceKind::Lost: terminal.EndOfInput(); return terminal.Disconnect();
    case TraceKind::End:
    case TraceKind::Waiting: return terminal.Disconnect();
    case TraceKind::Sent:
      expected.bytes.insert(expected.bytes.end(), event.bytes.begin(), event.bytes.end());
      expected.timesMs.insert(expected.timesMs.end(), event.bytes.size(), event.time.sinceStartMs);
      return;
    default: return;
  }
}

std::string HexByte(int byte) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

}  // namespace

ExpectedSent ReplayTrace(HeadlessTerminal& native, const std::vector<TracedConnection>& connections,
                         const ReplaySettings& settings, std::uint64_t untilMs) {
  StartHeadlessTerminal(native, true);
  ApplyReplaySettings(*native.terminal, settings);
  ExpectedSent expected;
  for (std::size_t i = 0; i < connections.size(); ++i) {
    if (i > 0) ReconnectReplay(native);
    // Each connection's clock starts where the last one stood: it never goes back.
    const std::uint64_t base = native.platform.clock;
    const bool last = i + 1 == connections.size();
    expected = ExpectedSent{};
    for (const TraceEvent& event : connections[i]) {
      if (last && event.time.sinceStartMs > untilMs) break;
      PlayEvent(native, event, base, expected);
    }
  }
  native.terminal->queue.Flush();
  return expected;
}

std::string CompareSent(const ExpectedSent& expected, const std::vector<std::uint8_t>& sent) {
  std::size_t at = 0;
  while (at < expected.bytes.size() && at < sent.size() && expected.bytes[at] == sent[at]) ++at;
  if (at == expected.bytes.size() && at == sent.size()) return "";
  const std::string where = "sent byte " + std::to_string(at + 1) + ": ";
  if (at == expected.bytes.size()) return where + "the replay sent " + HexByte(sent[at]) + ", the trace nothing more";
  const std::string traced = "the trace has " + HexByte(expected.bytes[at]) + " at +" +
                             std::to_string(expected.timesMs[at]) + "ms";
  if (at == sent.size()) return where + traced + ", the replay sent nothing more";
  return where + traced + ", the replay sent " + HexByte(sent[at]);
}
