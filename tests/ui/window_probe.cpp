// window-probe.exe: watches talvorix.exe from outside, as the user sees it,
// for the Wine tests: the texts of status panes 1 and 3, the message boxes
// the program has open, and what the process holds (handles, threads,
// private memory).
//
// Usage: window-probe.exe DESKTOP MILLISECONDS
// Looks for the main window on the Wine desktop DESKTOP (the program's
// virtual desktop) and, until it goes away or MILLISECONDS have passed,
// prints one line in UTF-8 each time the panes or the boxes change:
//   ms=T<TAB>pane1=TEXT<TAB>pane3=TEXT<TAB>boxes=N<TAB>box=TEXT<TAB>handles=N<TAB>threads=N<TAB>memory=KB
// (box: the message of the first box, memory: the working set).
// Exit code 0, or 1 when no main window was found within five seconds.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD PollMs = 20;
constexpr DWORD FindWindowMs = 5000;
constexpr int TextChars = 512;

struct Target {
  HWND mainWindow;
  HWND statusBar;
  DWORD processId;
  HANDLE process;
  wchar_t* remoteText;  // a buffer inside the target, for SB_GETTEXTW to write into
};

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], int(out.size()),
                                    nullptr, nullptr);
  out.resize(std::size_t(n > 0 ? n : 0));
  return out;
}

bool EnterDesktop(const wchar_t* name) {
  HDESK desktop = OpenDesktopW(name, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
  return desktop != nullptr && SetThreadDesktop(desktop);
}

HWND WaitForMainWindow() {
  const ULONGLONG end = GetTickCount64() + FindWindowMs;
  HWND window = nullptr;
  while ((window = FindWindowW(L"TALVORIXClass", nullptr)) == nullptr && GetTickCount64() < end) Sleep(PollMs);
  return window;
}

bool OpenTarget(Target& target) {
  target.mainWindow = WaitForMainWindow();
  if (target.mainWindow == nullptr) return false;
  target.statusBar = FindWindowExW(target.mainWindow, nullptr, STATUSCLASSNAMEW, nullptr);
  GetWindowThreadProcessId(target.mainWindow, &target.processId);
  target.process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE,
                               target.processId);
  if (target.process == nullptr) return false;
  target.remoteText = static_cast<wchar_t*>(
      VirtualAllocEx(target.process, nullptr, TextChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  return target.remoteText != nullptr;
}

// The status bar writes the pane's text into the buffer in its own process;
// it is read back from there. A length beyond the buffer is cut.
std::wstring PaneText(const Target& target, int pane) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(target.statusBar, SB_GETTEXTLENGTHW, WPARAM(pane), 0, SMTO_ABORTIFHUNG, 1000,
                           &length) ||
      LOWORD(length) >= TextChars) {
    return L"?";
  }
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(target.statusBar, SB_GETTEXTW, WPARAM(pane), LPARAM(target.remoteText), SMTO_ABORTIFHUNG,
                      1000, &ignored);
  wchar_t text[TextChars] = {};
  SIZE_T read = 0;
  ReadProcessMemory(target.process, target.remoteText, text, (LOWORD(length) + 1) * sizeof(wchar_t), &read);
  // The text may have become shorter between the two messages: it ends at its zero.
  text[TextChars - 1] = L'\0';
  return text;
}

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return lstrcmpiW(className, name) == 0;
}

// The first text of a box: its message (the icon is a static without text).
BOOL CALLBACK FindText(HWND control, LPARAM parameter) {
  std::wstring& text = *reinterpret_cast<std::wstring*>(parameter);
  wchar_t found[TextChars] = {};
  if (HasClass(control, L"Static")) GetWindowTextW(control, found, TextChars);
  text = found;
  return text.empty();
}

struct Boxes {
  DWORD processId;
  int count;
  std::wstring text;  // of the first box found
};

BOOL CALLBACK CountBox(HWND window, LPARAM parameter) {
  Boxes& boxes = *reinterpret_cast<Boxes*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != boxes.processId || !IsWindowVisible(window) || !HasClass(window, L"#32770")) return TRUE;
  if (boxes.count++ == 0) EnumChildWindows(window, FindText, reinterpret_cast<LPARAM>(&boxes.text));
  return TRUE;
}

// Message boxes and dialogs of the program: its top-level windows of the dialog class.
Boxes OpenBoxes(const Target& target) {
  Boxes boxes{target.processId, 0, {}};
  EnumWindows(CountBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

DWORD ThreadCount(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD threads = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == processId) threads = entry.cntThreads;
  }
  CloseHandle(snapshot);
  return threads;
}

// One entry of the system's handle table (SystemHandleInformation).
struct HandleEntry {
  USHORT processId;  // the low 16 bits of the owner's id
  USHORT creatorBackTraceIndex;
  UCHAR objectType;
  UCHAR attributes;
  USHORT value;
  PVOID object;
  ULONG access;
};

struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};

using QuerySystem = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG SystemHandleInformation = 16;
constexpr LONG InfoLengthMismatch = LONG(0xC0000004);

// The process's handles, counted in the system's handle table: Wine answers
// GetProcessHandleCount with 0, but keeps this table.
long HandleCount(DWORD processId) {
  const auto query = reinterpret_cast<QuerySystem>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  std::string buffer(1 << 16, '\0');
  LONG status = InfoLengthMismatch;
  while ((status = query(SystemHandleInformation, &buffer[0], ULONG(buffer.size()), nullptr)) == InfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return -1;
  const HandleTable& table = *reinterpret_cast<const HandleTable*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < table.count; ++i) count += table.entries[i].processId == USHORT(processId);
  return count;
}

// Wine reports no private bytes for another process, but its working set.
std::string Resources(const Target& target) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(target.process, &memory, sizeof memory);
  return "handles=" + std::to_string(HandleCount(target.processId)) +
         "\tthreads=" + std::to_string(ThreadCount(target.processId)) +
         "\tmemory=" + std::to_string(memory.WorkingSetSize / 1024);
}

std::string Seen(const Target& target) {
  const Boxes boxes = OpenBoxes(target);
  return "pane1=" + Utf8(PaneText(target, 1)) + "\tpane3=" + Utf8(PaneText(target, 3)) +
         "\tboxes=" + std::to_string(boxes.count) + "\tbox=" + Utf8(boxes.text);
}

void Watch(const Target& target, DWORD milliseconds) {
  const ULONGLONG start = GetTickCount64();
  std::string last;
  while (IsWindow(target.mainWindow) && GetTickCount64() - start < milliseconds) {
    const std::string seen = Seen(target);
    if (seen != last) {
      std::printf("ms=%llu\t%s\t%s\n", GetTickCount64() - start, seen.c_str(), Resources(target).c_str());
      std::fflush(stdout);
      last = seen;
    }
    Sleep(PollMs);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: window-probe.exe DESKTOP MILLISECONDS\n", stderr);
    return 2;
  }
  Target target{};
  if (!EnterDesktop(argv[1]) || !OpenTarget(target)) {
    std::fputs("window-probe: no main window\n", stderr);
    return 1;
  }
  Watch(target, DWORD(std::wcstoul(argv[2], nullptr, 10)));
  VirtualFreeEx(target.process, target.remoteText, 0, MEM_RELEASE);
  CloseHandle(target.process);
  return 0;
}
