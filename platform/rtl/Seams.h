// What a test cannot observe or must decide passes through one small interface each. The
// default of each is the real Win32 call; a test installs its own with a ScopedSeam.
#pragma once
#include <string>

#include "platform/rtl/DateTime.h"

namespace seams {

struct IShell {
  virtual ~IShell() = default;
  // ShellExecute with verb "open": a web address or a document. Returns true on success.
  virtual bool Open(const std::string& target, const std::string& params) = 0;
  // Starts a program with a command line; does not wait. Returns true on success.
  virtual bool StartProcess(const std::string& program, const std::string& params) = 0;
};

struct ISound {
  virtual ~ISound() = default;
  virtual void PlayFile(const std::string& path) = 0;  // asynchronous, no error
};

struct INetState {
  virtual ~INetState() = default;
  virtual bool IsConnected() = 0;  // InternetGetConnectedState
};

struct IDialogs {
  virtual ~IDialogs() = default;
  // MessageBox: returns the button chosen (IDOK, IDYES, ...).
  virtual int Ask(void* owner, const std::string& text, const std::string& caption, unsigned flags) = 0;
};

struct IClock {
  virtual ~IClock() = default;
  virtual TDateTime Now() = 0;  // local time
};

struct IAdapter {
  virtual ~IAdapter() = default;
  // The six node bytes of the network adapter, or false when none can be had.
  virtual bool NodeAddress(unsigned char node[6]) = 0;
};

IShell& Shell();
ISound& Sound();
INetState& NetState();
IDialogs& Dialogs();
IClock& Clock();
IAdapter& Adapter();

// Installs a replacement for the lifetime of the guard; seams nest.
template <class I>
class ScopedSeam {
 public:
  explicit ScopedSeam(I* replacement);
  ~ScopedSeam();
  ScopedSeam(const ScopedSeam&) = delete;
  ScopedSeam& operator=(const ScopedSeam&) = delete;

 private:
  I* previous_;
};

}  // namespace seams
