// link-driver.exe: runs the real serial link and communication log against a
// device, with a small window of its own and a terminal whose host window
// reports on standard output. Its log role records the blocks the link pushes
// before they go to the real log.
//
// Usage: link-driver.exe COMMAND... (run in the directory that gets Talvorix.log)
//   port N          portNumber for the next open (default 5)
//   log             OpenLog with the default name
//   open / close    OpenConnection / CloseConnection, with the time they took
//   sleep MS        waits without handling messages (data piles up in the queue)
//   pump MS         runs the message loop for MS milliseconds
//   until N MS      runs the message loop until N bytes were interpreted (at most MS)
//   closed MS       runs the message loop until the connection is closed (at most MS)
//   read MAX        ReadBlock directly
//   send HEX        the terminal's Transmit
//   echo 0|1        localEcho;  errors 0|1  displayErrors
//   line B P S F    baudRate, parity, stopBits, flowControl, then ApplyLineSettings
//   read-timeouts I M C   the open device's read time-outs (interval, multiplier,
//                   constant), as a driver that does not return at once would have them
//   slow MS         each pushed block takes MS milliseconds more
//   answer          the first byte of each pushed block is written back
//   disconnect-after MS   posts the disconnect command from another thread
//   breaklog        swaps the log for a handle that refuses writes
//   report          what was pushed, the log state and screen row 1 (each event of the
//                   connection is said as it comes: "event connected", ...)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "terminal/interpreter/terminal.h"
#include "terminal/interpreter/transmit_status.h"
#include "terminal/link/comm_log.h"
#include "terminal/link/link_session.h"
#include "terminal/link/link_texts.h"
#include "terminal/link/serial_link.h"
#include "terminal/model/screen_model.h"

namespace {

Terminal* terminal = nullptr;
LinkSession* session = nullptr;
// The main window's disconnect command, as the window's menu numbers it.
constexpr WORD DisconnectCommand = 257;
TerminalState* record = nullptr;
HWND mainWindow = nullptr;
HWND terminalWindow = nullptr;
std::vector<std::uint8_t> interpreted;
std::vector<int> blockSizes;
int terminalPaints = 0;
int notifications = 0;
DWORD interpretDelayMs = 0;
bool answerBlocks = false;  // for timing the way from the port to the interpreter

void Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

struct DriverDrawing final : Drawing {
  void ResizeTextCanvas(int, int) override {}
  FontMetrics MeasureFont(const FontSpec&) override { return {8, 16}; }
  void DrawText(int, int, const std::uint8_t*, int, const FontSpec&, COLORREF, COLORREF) override {}
  void FillRect(int, int, int, int, COLORREF) override {}
  void CopyRect(int, int, int, int, int, int) override {}
};

struct DriverHost final : HostWindow {
  MessageAnswer ShowMessage(std::string_view text, TextCoding, std::string_view caption, MessageIcon,
                            MessageButtons) override {
    Say("message " + std::string(caption) + "|" + std::string(text));
    return MessageAnswer::Ok;
  }
  void Tell(const Notice& notice) override { told.push_back(notice); }
  bool ShowTold() override {
    std::vector<Notice> shown;
    shown.swap(told);
    for (const Notice& notice : shown) ShowMessage(notice.text, notice.coding, notice.caption, notice.icon, MessageButtons::Ok);
    return !shown.empty();
  }
  void Beep() override {}
  void SetStatusText(int pane, std::string_view text, TextCoding) override {
    Say("status " + std::to_string(pane) + " " + std::string(text));
  }
  void ByteSent(std::uint8_t byte) override { SetStatusText(TransmittedPane, TransmittedByteText(byte), TextCoding::Utf8); }
  void KeyStatus(std::string_view text, TextCoding coding) override { SetStatusText(TransmittedPane, text, coding); }
  void InvalidateTerminal() override { InvalidateRect(terminalWindow, nullptr, TRUE); }
  void ShowView(TerminalView) override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void PlaceCaret() override {}
  void Relayout() override {}

  std::vector<Notice> told;
};

// Every block the link pushes reaches the log first: recorded here, then
// written as the window's log role writes it.
struct RecordingLog final : CommLog {
  bool Append(const std::uint8_t* bytes, int length) override {
    interpreted.insert(interpreted.end(), bytes, bytes + length);
    blockSizes.push_back(length);
    if (interpretDelayMs > 0) Sleep(interpretDelayMs);
    if (answerBlocks) WriteByte(*session, bytes[0]);
    return real.Append(bytes, length);
  }
  explicit RecordingLog(LinkSession& linkSession) : real(linkSession) {}
  FileCommLog real;
};

struct DriverClock final : Clock {
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
};

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == DisconnectCommand) {
    Say("command disconnect");
    CloseConnection(*session);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TerminalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMNOTIFY) {
    ++notifications;
    ReceivePump(*session);
    return 0;
  }
  if (message == WM_PAINT) {
    ++terminalPaints;
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool MakeWindows() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW mainClass{};
  mainClass.lpfnWndProc = MainProc;
  mainClass.hInstance = instance;
  mainClass.lpszClassName = L"LinkDriverMain";
  WNDCLASSW terminalClass = mainClass;
  terminalClass.lpfnWndProc = TerminalProc;
  terminalClass.lpszClassName = L"LinkDriverTerminal";
  if (!RegisterClassW(&mainClass) || !RegisterClassW(&terminalClass)) return false;
  mainWindow = CreateWindowW(L"LinkDriverMain", L"link driver", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                             nullptr, instance, nullptr);
  terminalWindow = CreateWindowW(L"LinkDriverTerminal", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, mainWindow,
                                 nullptr, instance, nullptr);
  // Shown (on the test's own display) so that repaints can be counted.
  ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
  return mainWindow != nullptr && terminalWindow != nullptr;
}

// The driver's view of the connection: each event as a line, the link's
// messages through the host, the disconnect command posted on a loss and the
// paced repaints done as the window does them.
struct DriverView final : LinkView {
  void Show(ConnectionEvent event, const std::string& detail) override {
    static const char* const names[] = {"connected", "lost", "waiting", "reconnected", "wait-stopped", "closed"};
    if (event == ConnectionEvent::LineError) return Say("status " + std::to_string(LineErrorPane) + " " + detail);
    Say(std::string("event ") + names[int(event)]);
  }
  void Focus(bool) override {}
  void RepaintNow() override { RedrawWindow(mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }
  void DeviceLost() override {
    PostMessageW(mainWindow, WM_COMMAND, DisconnectCommand, 0);
    host.ShowMessage(DeviceLostText, TextCoding::Utf8, LinkCaption, MessageIcon::Warning, MessageButtons::Ok);
  }
  void LogFailed(LogResult result) override {
    host.ShowMessage(result == LogResult::OpenFailed ? LogCreateFailedText : LogWriteFailedText, TextCoding::Utf8,
                     LinkCaption, MessageIcon::Error, MessageButtons::Ok);
  }
  DriverHost host;
};

bool MakeTerminal() {
  static DriverDrawing drawing;
  static DriverView view;
  static LinkSession link(view, view.host);
  static SerialOutput device(link);
  static RecordingLog log(link);
  static DriverClock clock;
  static std::unique_ptr<Terminal> made =
      std::make_unique<Terminal>(TerminalRoles{drawing, view.host, device, log, clock});
  session = &link;
  terminal = made.get();
  record = &terminal->state;
  InitTerminalState(*record, 0, 0xFFFFFF);
  ApplyFontSpec(*terminal);
  return StartLink(link, *terminal, terminalWindow);
}

// The first bytes of a screen row, in hexadecimal.
std::string RowHex(int row) {
  std::string hex;
  for (int i = 0; i < 8; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02x", record->screen[row * ScreenColumns + i]);
    hex += pair;
  }
  return hex;
}

DWORD disconnectDelayMs = 0;

DWORD WINAPI PostDisconnectLater(LPVOID) {
  Sleep(disconnectDelayMs);
  PostMessageW(mainWindow, WM_COMMAND, DisconnectCommand, 0);
  return 0;
}

template <typename Done>
void RunMessages(DWORD milliseconds, Done done) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done() && GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void Report() {
  std::string sizes;
  for (std::size_t i = 0; i < blockSizes.size() && i < 20; ++i) {
    sizes += (sizes.empty() ? "" : ",") + std::to_string(blockSizes[i]);
  }
  std::string hex;
  for (std::size_t i = 0; i < interpreted.size() && i < 64; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02x", interpreted[i]);
    hex += pair;
  }
  Say("interpreted " + std::to_string(interpreted.size()) + " blocks " + sizes + " first " + hex);
  Say("paints " + std::to_string(terminalPaints) + " count " + std::to_string(blockSizes.size()) +
      " notifications " + std::to_string(notifications));
  Say("log open " + std::to_string(session->connection.Log().IsOpen() ? 1 : 0) + " start " +
      std::to_string(session->connection.Log().DataStart()));
  Say("connected " + std::to_string(record->connected) + " watcher " +
      std::to_string(session->watcherThreadId != 0));
  Say("row1 " + RowHex(1));
}

// Gives the open device other read time-outs than the link's own; false
// without a device or when the driver refuses them.
bool SetReadTimeouts(DWORD interval, DWORD multiplier, DWORD constant) {
  COMMTIMEOUTS timeouts{};
  if (!session->device.IsOpen() || !GetCommTimeouts(session->device.Handle(), &timeouts)) return false;
  timeouts.ReadIntervalTimeout = interval;
  timeouts.ReadTotalTimeoutMultiplier = multiplier;
  timeouts.ReadTotalTimeoutConstant = constant;
  return SetCommTimeouts(session->device.Handle(), &timeouts) != FALSE;
}

// A handle on the same file that cannot write: the next append fails.
void BreakLog() {
  HANDLE readOnly = CreateFileA("Talvorix.log", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(session->logFile.handle);
  session->logFile.handle = readOnly;
}

bool Run(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& command = args[i];
    const auto number = [&](std::size_t at) { return at < args.size() ? std::strtoul(args[at].c_str(), nullptr, 0) : 0; };
    const ULONGLONG start = GetTickCount64();
    const auto took = [&] { return " ms " + std::to_string(GetTickCount64() - start); };
    if (command == "port") {
      record->portNumber = std::uint8_t(number(++i));
    } else if (command == "log") {
      Say(std::string("log ") + (OpenLog(*session) ? "opened" : "failed"));
    } else if (command == "open") {
      const bool opened = OpenConnection(*session);
      Say("open " + std::to_string(opened) + took());
    } else if (command == "close") {
      const bool closed = CloseConnection(*session);
      Say("close " + std::to_string(closed) + took());
    } else if (command == "sleep") {
      Sleep(DWORD(number(++i)));
    } else if (command == "pump") {
      RunMessages(number(++i), [] { return false; });
    } else if (command == "until") {
      const std::size_t wanted = number(i + 1);
      RunMessages(number(i + 2), [&] { return interpreted.size() >= wanted; });
      Say("until " + std::to_string(interpreted.size()) + took());
      i += 2;
    } else if (command == "closed") {
      RunMessages(number(++i), [] { return !record->connected; });
      Say("connected " + std::to_string(record->connected) + took());
    } else if (command == "read") {
      std::uint8_t buffer[256];
      const int maximum = int(number(++i));
      Say("read " + std::to_string(ReadBlock(*session, buffer, maximum > 256 ? 256 : maximum)));
    } else if (command == "send") {
      const auto byte = std::uint8_t(std::strtoul(args[++i].c_str(), nullptr, 16));
      Say("send " + std::to_string(terminal->Transmit(byte)));
    } else if (command == "line") {
      // line BAUD PARITY STOPBITS FLOW, applied to the open device
      record->baudRate = std::uint32_t(number(i + 1));
      record->parity = std::uint8_t(number(i + 2));
      record->stopBits = std::uint8_t(number(i + 3));
      record->flowControl = std::uint8_t(number(i + 4));
      i += 4;
      Say("apply " + std::to_string(ApplyLineSettings(*session)));
    } else if (command == "read-timeouts") {
      Say("read-timeouts " + std::to_string(SetReadTimeouts(DWORD(number(i + 1)), DWORD(number(i + 2)),
                                                            DWORD(number(i + 3)))));
      i += 3;
    } else if (command == "slow") {
      interpretDelayMs = DWORD(number(++i));
    } else if (command == "disconnect-after") {
      // As if the user chose the disconnect command while the pump is busy.
      disconnectDelayMs = DWORD(number(++i));
      CloseHandle(CreateThread(nullptr, 0, PostDisconnectLater, nullptr, 0, nullptr));
    } else if (command == "echo") {
      record->localEcho = std::int32_t(number(++i));
    } else if (command == "errors") {
      record->displayErrors = std::int32_t(number(++i));
    } else if (command == "answer") {
      answerBlocks = true;
    } else if (command == "breaklog") {
      BreakLog();
    } else if (command == "report") {
      Report();
    } else {
      Say("unknown command " + command);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!MakeWindows() || !MakeTerminal()) {
    Say("setup failed");
    return 2;
  }
  const bool ok = Run(std::vector<std::string>(argv + 1, argv + argc));
  EndLink(*session);
  return ok ? 0 : 1;
}
