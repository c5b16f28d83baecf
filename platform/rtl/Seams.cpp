#include "platform/rtl/Seams.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <wininet.h>

#include <cstring>

#include "platform/rtl/LateBound.h"
#include "platform/rtl/SysUtils.h"

namespace seams {
namespace {

struct RealShell : IShell {
  bool Open(const std::string& target, const std::string& params) override {
    auto r = (INT_PTR)ShellExecuteA(nullptr, "open", target.c_str(), params.empty() ? nullptr : params.c_str(),
                                    nullptr, SW_SHOWNORMAL);
    return r > 32;
  }
  bool StartProcess(const std::string& program, const std::string& params) override {
    std::string cmd = "\"" + program + "\"";
    if (!params.empty()) cmd += " " + params;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        sys::ExtractFilePath(program).empty() ? nullptr : sys::ExtractFilePath(program).c_str(), &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
};

struct RealSound : ISound {
  void PlayFile(const std::string& path) override {
    static const auto play = LateBound<decltype(&PlaySoundA)>("winmm.dll", "PlaySoundA");
    if (play) play(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
  }
};

struct RealNetState : INetState {
  bool IsConnected() override {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
  }
};

struct RealDialogs : IDialogs {
  int Ask(void* owner, const std::string& text, const std::string& caption, unsigned flags) override {
    return MessageBoxA((HWND)owner, text.c_str(), caption.c_str(), flags);
  }
};

struct RealClock : IClock {
  TDateTime Now() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    dt::Parts p{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    return dt::Encode(p);
  }
};

struct RealAdapter : IAdapter {
  bool NodeAddress(unsigned char node[6]) override {
    HMODULE lib = LoadLibraryA("rpcrt4.dll");
    if (!lib) return false;
    using CreateFn = long(WINAPI*)(GUID*);
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    GetVersionExA(&vi);
    const char* name = vi.dwPlatformId == VER_PLATFORM_WIN32_NT ? "UuidCreateSequential" : "UuidCreate";
    auto create = (CreateFn)(void*)GetProcAddress(lib, name);
    bool ok = false;
    if (create) {
      GUID a, b;
      if (create(&a) == 0 && create(&b) == 0 && memcmp(a.Data4 + 2, b.Data4 + 2, 6) == 0) {
        memcpy(node, a.Data4 + 2, 6);
        ok = true;
      }
    }
    FreeLibrary(lib);
    return ok;
  }
};

template <class I, class Real>
I*& Slot() {
  static Real real;
  static I* current = &real;
  return current;
}

}  // namespace

IShell& Shell() { return *Slot<IShell, RealShell>(); }
ISound& Sound() { return *Slot<ISound, RealSound>(); }
INetState& NetState() { return *Slot<INetState, RealNetState>(); }
IDialogs& Dialogs() { return *Slot<IDialogs, RealDialogs>(); }
IClock& Clock() { return *Slot<IClock, RealClock>(); }
IAdapter& Adapter() { return *Slot<IAdapter, RealAdapter>(); }

template <class I> I*& SlotOf();
template <> IShell*& SlotOf<IShell>() { return Slot<IShell, RealShell>(); }
template <> ISound*& SlotOf<ISound>() { return Slot<ISound, RealSound>(); }
template <> INetState*& SlotOf<INetState>() { return Slot<INetState, RealNetState>(); }
template <> IDialogs*& SlotOf<IDialogs>() { return Slot<IDialogs, RealDialogs>(); }
template <> IClock*& SlotOf<IClock>() { return Slot<IClock, RealClock>(); }
template <> IAdapter*& SlotOf<IAdapter>() { return Slot<IAdapter, RealAdapter>(); }

template <class I>
ScopedSeam<I>::ScopedSeam(I* replacement) : previous_(SlotOf<I>()) {
  SlotOf<I>() = replacement;
}
template <class I>
ScopedSeam<I>::~ScopedSeam() {
  SlotOf<I>() = previous_;
}

template class ScopedSeam<IShell>;
template class ScopedSeam<ISound>;
template class ScopedSeam<INetState>;
template class ScopedSeam<IDialogs>;
template class ScopedSeam<IClock>;
template class ScopedSeam<IAdapter>;

}  // namespace seams
