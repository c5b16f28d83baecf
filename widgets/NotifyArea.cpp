#include "widgets/NotifyArea.h"

#include <shellapi.h>

#include <cstring>

#include "platform/rtl/SysUtils.h"

// The layout above must be the shell's own, field by field.
static_assert(TNotifyIconData::kWnd == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(TNotifyIconData::kId == offsetof(NOTIFYICONDATAA, uID));
static_assert(TNotifyIconData::kFlags == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(TNotifyIconData::kCallback == offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(TNotifyIconData::kIcon == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(TNotifyIconData::kTip == offsetof(NOTIFYICONDATAA, szTip));
static_assert(TNotifyIconData::kState == offsetof(NOTIFYICONDATAA, dwState));
static_assert(TNotifyIconData::kInfo == offsetof(NOTIFYICONDATAA, szInfo));
static_assert(TNotifyIconData::kTimeout == offsetof(NOTIFYICONDATAA, uTimeout));
static_assert(TNotifyIconData::kInfoTitle == offsetof(NOTIFYICONDATAA, szInfoTitle));
static_assert(TNotifyIconData::kInfoFlags == offsetof(NOTIFYICONDATAA, dwInfoFlags));
static_assert(TNotifyIconData::kSize == (sizeof(void*) == 4 ? 488 : 504));

TNotifyIconData::TNotifyIconData() { Set32(0, (uint32_t)kSize); }

uint32_t TNotifyIconData::Get32(size_t at) const {
  uint32_t v;
  memcpy(&v, bytes_.data() + at, 4);
  return v;
}

void TNotifyIconData::Set32(size_t at, uint32_t v) { memcpy(bytes_.data() + at, &v, 4); }

uintptr_t TNotifyIconData::GetPtr(size_t at) const {
  uintptr_t v;
  memcpy(&v, bytes_.data() + at, kPtr);
  return v;
}

void TNotifyIconData::SetPtr(size_t at, uintptr_t v) { memcpy(bytes_.data() + at, &v, kPtr); }

std::string TNotifyIconData::GetText(size_t at, size_t field) const {
  const char* p = reinterpret_cast<const char*>(bytes_.data() + at);
  return std::string(p, strnlen(p, field));
}

void TNotifyIconData::SetText(size_t at, size_t field, const std::string& s) {
  std::string cut = sys::CutAnsi(s, field - 1);
  memset(bytes_.data() + at, 0, field);
  memcpy(bytes_.data() + at, cut.data(), cut.size());
}

namespace seams {
namespace {
struct RealNotifyArea : INotifyArea {
  bool NotifyIcon(DWORD message, const TNotifyIconData& data) override {
    // The shell reads only as many bytes as the record's size field names.
    auto* record = reinterpret_cast<NOTIFYICONDATAA*>(const_cast<uint8_t*>(data.Bytes()));
    return Shell_NotifyIconA(message, record) != FALSE;
  }
};

INotifyArea*& Current() {
  static RealNotifyArea real;
  static INotifyArea* current = &real;
  return current;
}
}  // namespace

INotifyArea& NotifyArea() { return *Current(); }

ScopedNotifyArea::ScopedNotifyArea(INotifyArea* replacement) : previous_(Current()) { Current() = replacement; }
ScopedNotifyArea::~ScopedNotifyArea() { Current() = previous_; }

}  // namespace seams
