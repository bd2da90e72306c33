#include "terminal/link/window_device.h"

#include <atomic>

namespace {

constexpr WPARAM ConnectCommand = 256;

}  // namespace

// What a background connect and the user-interface thread share. The thread
// touches `device` only until it sets `finished`; from then on it belongs to
// the user-interface thread.
struct BackgroundConnect {
  std::unique_ptr<NetworkSerialDevice> device;
  std::atomic<bool> cancelled{false};
  std::atomic<bool> finished{false};
  bool opened = false;
  std::string error;
  HWND window = nullptr;
};

namespace {

DWORD WINAPI RunBackgroundConnect(LPVOID parameter) {
  std::unique_ptr<std::shared_ptr<BackgroundConnect>> held(static_cast<std::shared_ptr<BackgroundConnect>*>(parameter));
  BackgroundConnect& connect = **held;
  connect.opened = connect.device->Open(connect.error);
  connect.finished = true;
  if (!connect.cancelled) PostMessageW(connect.window, WM_COMMAND, ConnectCommand, 0);
  return 0;
}

// False when the thread could not be made.
bool StartBackgroundConnect(const std::shared_ptr<BackgroundConnect>& connect) {
  auto* held = new std::shared_ptr<BackgroundConnect>(connect);
  HANDLE thread = CreateThread(nullptr, 0, RunBackgroundConnect, held, 0, nullptr);
  if (thread == nullptr) {
    delete held;
    return false;
  }
  CloseHandle(thread);
  return true;
}

}  // namespace

WindowDevice::~WindowDevice() { CancelConnect(); }

void WindowDevice::ChooseNetworkPort(std::optional<NetworkPort> port) {
  CancelConnect();
  choice_ = std::move(port);
}

void WindowDevice::CancelConnect() {
  if (pending_ != nullptr) pending_->cancelled = true;
  pending_.reset();
}

bool WindowDevice::Open(std::string& error) {
  if (!choice_) return com_.Open(error);
  return OpenNetwork(error);
}

// The first Open starts the connect; those while it runs fail; the first
// after it has finished takes its result.
bool WindowDevice::OpenNetwork(std::string& error) {
  if (pending_ == nullptr) {
    pending_ = std::make_shared<BackgroundConnect>();
    auto& connect = *pending_;
    connect.device = std::make_unique<NetworkSerialDevice>(*choice_, [&connect] { return bool(connect.cancelled); });
    connect.window = connectWindow_;
    if (!StartBackgroundConnect(pending_)) pending_.reset();
  }
  error = "connecting to " + choice_->Text();
  if (pending_ == nullptr || !pending_->finished) return false;
  const std::shared_ptr<BackgroundConnect> done = std::move(pending_);
  error = done->error;
  network_ = std::move(done->device);
  return done->opened;
}

SerialDevice& WindowDevice::Active() {
  if (network_ != nullptr && network_->IsOpen()) return *network_;
  return com_;
}

bool WindowDevice::Configure(const LineSettings& settings, std::string& error) {
  return Active().Configure(settings, error);
}

void WindowDevice::Purge() { Active().Purge(); }

void WindowDevice::SetDtr(bool raised) { Active().SetDtr(raised); }

void WindowDevice::Drain(int waitMs) { Active().Drain(waitMs); }

void WindowDevice::Close() {
  Active().Close();
  network_.reset();
}

bool WindowDevice::IsOpen() const { return (network_ != nullptr && network_->IsOpen()) || com_.IsOpen(); }

DeviceRead WindowDevice::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got, std::string& error) {
  return Active().Read(buffer, capacity, got, error);
}

bool WindowDevice::Write(const std::uint8_t* bytes, std::size_t length, int waitMs, std::string& error) {
  return Active().Write(bytes, length, waitMs, error);
}
