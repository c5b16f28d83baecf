#include "platform/rtl/MessagePump.h"

namespace message_pump {
namespace {

// Without an application nothing ends the program from here: a WM_QUIT is handed back to
// whoever runs the thread's loop.
class TDefaultPump : public IMessagePump {
 public:
  void ProcessMessages() override { PumpWaitingMessages(true); }
  bool Terminated() const override { return false; }
  HWND Handle() const override { return nullptr; }
};

struct TInstalled {
  const void* owner = nullptr;
  std::unique_ptr<IMessagePump> pump;
};

TInstalled& Installed() {
  static TInstalled installed;
  return installed;
}

}  // namespace

void InstallPump(const void* owner, std::unique_ptr<IMessagePump> pump) {
  Installed() = TInstalled{owner, std::move(pump)};
}

void RemovePump(const void* owner) {
  if (Installed().owner == owner) Installed() = TInstalled{};
}

IMessagePump* InstalledPump() { return Installed().pump.get(); }

IMessagePump& Pump() {
  static TDefaultPump fallback;
  IMessagePump* p = InstalledPump();
  return p ? *p : fallback;
}

bool PumpWaitingMessages(bool repostQuit) {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      if (repostQuit) PostQuitMessage(int(m.wParam));
      return false;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return true;
}

}  // namespace message_pump
