#include "cli/script_run.h"

#include <cstdio>

#include "terminal/link/monotonic_clock.h"

namespace {

void ReportLine(const ScriptLine& line, const std::string& what) {
  std::fprintf(stderr, "talvorix-cli: line %d: %s: %s\n", line.number, line.source.c_str(), what.c_str());
}

void ReportMissedExpectation(const ScriptLine& line, const Session& session) {
  ReportLine(line, "expected " + DescribeExpectation(line.expectation) + ", not met");
  std::fprintf(stderr,
               "screen:\n%slast bytes received (%llu in this connection):\n%s"
               "as they arrived (local time, milliseconds since the connection started):\n%s",
               ScreenListing(session.View()).c_str(), static_cast<unsigned long long>(session.Received().total),
               DumpReceived(session.Received()).c_str(), TimedArrivals(session.Received()).c_str());
}

// A line failure on the way (the device gone) is left to RunScript to report.
int Expect(const ScriptLine& line, Session& session) {
  const ExpectationCheck check(line.expectation);
  const std::uint64_t deadline = MonotonicMs() + std::uint64_t(line.expectation.limitMs);
  const auto met = [&check, deadline](const ScreenView& view) { return check.Met(view, deadline); };
  if (session.ReceiveUntil(deadline, met) != ReceiveOutcome::TimedOut) {
    return ExitDone;
  }
  ReportMissedExpectation(line, session);
  return ExitFailed;
}

int Wait(const ScriptLine& line, Session& session) {
  session.ReceiveUntil(MonotonicMs() + std::uint64_t(line.milliseconds), [](const ScreenView&) { return false; });
  return ExitDone;
}

int PrintScreen(const Session& session) {
  std::fputs(ScreenListing(session.View()).c_str(), stdout);
  std::fflush(stdout);
  return ExitDone;
}

int WritePicture(const ScriptLine& line, Session& session) {
  std::string error;
  if (session.Terminal().WritePicture(line.path, error)) return ExitDone;
  ReportLine(line, error);
  return ExitFailed;
}

int ConnectAgain(const ScriptLine& line, Session& session) {
  std::string error;
  if (session.Connect(error)) return ExitDone;
  ReportLine(line, error);
  return ExitCannotStart;
}

int TypeKeys(const ScriptLine& line, Session& session) {
  for (const KeyEvent& key : line.keys) session.Terminal().Type(key);
  return ExitDone;
}

int RunLine(const ScriptLine& line, Session& session) {
  switch (line.kind) {
    case LineKind::Key: return TypeKeys(line, session);
    case LineKind::Text: session.Terminal().SendText(line.bytes); return ExitDone;
    case LineKind::Send: session.Terminal().SendBytes(line.bytes); return ExitDone;
    case LineKind::Expect: return Expect(line, session);
    case LineKind::Wait: return Wait(line, session);
    case LineKind::Screen: return PrintScreen(session);
    case LineKind::Picture: return WritePicture(line, session);
    case LineKind::Disconnect: session.Disconnect(); return ExitDone;
    case LineKind::Connect: return ConnectAgain(line, session);
  }
  return ExitDone;
}

}  // namespace

int RunScript(const std::vector<ScriptLine>& lines, Session& session) {
  for (const ScriptLine& line : lines) {
    const int code = RunLine(line, session);
    if (code != ExitDone) return code;
    session.NoticeStopSignal();
    if (!session.Failure().empty()) {
      ReportLine(line, session.Failure());
      return ExitFailed;
    }
  }
  return ExitDone;
}
