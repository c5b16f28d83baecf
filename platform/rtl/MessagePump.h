// The message pump of the GUI thread, as the layers below the window library see it: socket
// waits and other long steps keep the program's windows alive through it without knowing the
// application object. The application installs itself when it is made and removes itself when
// it goes; without one, the default pumps the calling thread's queue with PeekMessage.
//
// Ownership: InstallPump takes the pump; RemovePump(owner) frees it. Threads: install, remove
// and Pump() belong to the GUI thread; a pump dispatches only the calling thread's messages.
#pragma once
#include <windows.h>

#include <memory>

class IMessagePump {
 public:
  virtual ~IMessagePump() = default;
  // Dispatches every waiting message and returns at once when none is left.
  virtual void ProcessMessages() = 0;
  // True once the program is ending; a wait should give up.
  virtual bool Terminated() const = 0;
  // The application's window: the owner of the program's message boxes (nullptr for none).
  virtual HWND Handle() const = 0;
};

namespace message_pump {

// Installs `pump` on behalf of `owner`, in place of any earlier one.
void InstallPump(const void* owner, std::unique_ptr<IMessagePump> pump);
// Removes and frees the pump when `owner` installed the current one.
void RemovePump(const void* owner);
// The installed pump, or nullptr.
IMessagePump* InstalledPump();
// The installed pump, else the default.
IMessagePump& Pump();

// Dispatches the calling thread's waiting messages. Returns false when it met WM_QUIT, which
// it posts again when `repostQuit` (so that the program's own loop still sees it and ends).
bool PumpWaitingMessages(bool repostQuit);

// An application-like object as a pump: anything with ProcessMessages(), Terminated() and
// Handle(), referred to, not owned.
template <class App>
class TPumpOf : public IMessagePump {
 public:
  explicit TPumpOf(App& app) : app_(app) {}
  void ProcessMessages() override { app_.ProcessMessages(); }
  bool Terminated() const override { return app_.Terminated(); }
  HWND Handle() const override { return app_.Handle(); }

 private:
  App& app_;
};

}  // namespace message_pump
