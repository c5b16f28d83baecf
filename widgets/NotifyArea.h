// The shell's notification area. TNotifyIconData is the icon record handed to
// Shell_NotifyIconA, laid out byte by byte as the shell's record up to and including the
// balloon icon flags (488 bytes for 32-bit programs, 504 for 64-bit ones; the fields after
// it, which MinGW's NOTIFYICONDATAA adds, are not sent). The seam lets tests record the
// calls, since the notification area cannot be observed under Wine here.
// GUI thread only; the installed seam is borrowed and must outlive its use.
#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class TNotifyIconData {
 public:
  // Field offsets for this program's pointer size: the record starts with a 32-bit size,
  // then the window handle at pointer alignment, three 32-bit fields, the icon handle at
  // pointer alignment, and fixed-size texts and 32-bit fields after it.
  static constexpr size_t kPtr = sizeof(void*);
  static constexpr size_t kWnd = kPtr;
  static constexpr size_t kId = kWnd + kPtr;
  static constexpr size_t kFlags = kId + 4;
  static constexpr size_t kCallback = kFlags + 4;
  static constexpr size_t kIcon = (kCallback + 4 + kPtr - 1) / kPtr * kPtr;
  static constexpr size_t kTip = kIcon + kPtr;
  static constexpr size_t kState = kTip + 128;
  static constexpr size_t kStateMask = kState + 4;
  static constexpr size_t kInfo = kStateMask + 4;
  static constexpr size_t kTimeout = kInfo + 256;  // also the version for NIM_SETVERSION
  static constexpr size_t kInfoTitle = kTimeout + 4;
  static constexpr size_t kInfoFlags = kInfoTitle + 64;
  static constexpr size_t kSize = kInfoFlags + 4;

  // Zero-filled, with the record size written.
  TNotifyIconData();

  uint32_t Size() const { return Get32(0); }
  HWND Wnd() const { return reinterpret_cast<HWND>(GetPtr(kWnd)); }
  void SetWnd(HWND h) { SetPtr(kWnd, reinterpret_cast<uintptr_t>(h)); }
  uint32_t Id() const { return Get32(kId); }
  void SetId(uint32_t v) { Set32(kId, v); }
  uint32_t Flags() const { return Get32(kFlags); }
  void SetFlags(uint32_t v) { Set32(kFlags, v); }
  uint32_t CallbackMessage() const { return Get32(kCallback); }
  void SetCallbackMessage(uint32_t v) { Set32(kCallback, v); }
  HICON Icon() const { return reinterpret_cast<HICON>(GetPtr(kIcon)); }
  void SetIcon(HICON h) { SetPtr(kIcon, reinterpret_cast<uintptr_t>(h)); }
  // Texts are code page 936, cut on a character boundary to fit with their terminator.
  std::string Tip() const { return GetText(kTip, 128); }
  void SetTip(const std::string& s) { SetText(kTip, 128, s); }
  std::string Info() const { return GetText(kInfo, 256); }
  void SetInfo(const std::string& s) { SetText(kInfo, 256, s); }
  uint32_t Timeout() const { return Get32(kTimeout); }
  void SetTimeout(uint32_t ms) { Set32(kTimeout, ms); }
  std::string InfoTitle() const { return GetText(kInfoTitle, 64); }
  void SetInfoTitle(const std::string& s) { SetText(kInfoTitle, 64, s); }
  uint32_t InfoFlags() const { return Get32(kInfoFlags); }
  void SetInfoFlags(uint32_t v) { Set32(kInfoFlags, v); }

  const uint8_t* Bytes() const { return bytes_.data(); }

 private:
  uint32_t Get32(size_t at) const;
  void Set32(size_t at, uint32_t v);
  uintptr_t GetPtr(size_t at) const;
  void SetPtr(size_t at, uintptr_t v);
  std::string GetText(size_t at, size_t field) const;
  void SetText(size_t at, size_t field, const std::string& s);

  alignas(8) std::array<uint8_t, kSize> bytes_{};
};

namespace seams {

struct INotifyArea {
  virtual ~INotifyArea() = default;
  // Shell_NotifyIconA(message, record): NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_SETVERSION.
  virtual bool NotifyIcon(DWORD message, const TNotifyIconData& data) = 0;
};

INotifyArea& NotifyArea();

// Installs a replacement for its lifetime; guards nest.
class ScopedNotifyArea {
 public:
  explicit ScopedNotifyArea(INotifyArea* replacement);
  ~ScopedNotifyArea();
  ScopedNotifyArea(const ScopedNotifyArea&) = delete;
  ScopedNotifyArea& operator=(const ScopedNotifyArea&) = delete;

 private:
  INotifyArea* previous_;
};

}  // namespace seams
