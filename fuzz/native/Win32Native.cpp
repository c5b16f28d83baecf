// Code page conversion for the native fuzzing build, through iconv, and the seams that a
// parser may reach (the clock, the message box) answered without a screen.
#include <windows.h>

#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/rtl/Seams.h"

namespace {

const char* IconvName(UINT cp) {
  switch (cp) {
    case 936: return "CP936";
    case 54936: return "GB18030";
    case 950: return "BIG5";
    case 932: return "SHIFT_JIS";
    case 949: return "EUC-KR";
    case 1252: return "CP1252";
    case CP_UTF8: return "UTF-8";
    default: return nullptr;
  }
}

// Converts all of `in`; an invalid or incomplete sequence becomes one replacement unit, as
// Windows does without MB_ERR_INVALID_CHARS. False when the code page is unknown.
bool Convert(const char* to, const char* from, const char* in, size_t inBytes, size_t unit,
             const char* replacement, size_t replacementBytes, std::string& out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return false;
  out.clear();
  char buf[4096];
  char* src = const_cast<char*>(in);
  size_t left = inBytes;
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, size_t(dst - buf));
    if (r == (size_t)-1 && errno != E2BIG) {
      out.append(replacement, replacementBytes);
      size_t skip = std::min(left, unit);
      src += skip;
      left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return true;
}

int Deliver(const std::string& bytes, size_t unit, void* dst, int dstLen) {
  int units = int(bytes.size() / unit);
  if (!dst || dstLen == 0) return units;
  if (units > dstLen) return 0;
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(dst));
  return units;
}

struct FixedClock : seams::IClock {
  TDateTime Now() override { return 46000.5; }
};
struct SilentDialogs : seams::IDialogs {
  int Ask(void*, const std::string&, const std::string&, unsigned) override { return IDOK; }
};

}  // namespace

int MultiByteToWideChar(UINT cp, DWORD, const char* src, int srcLen, wchar_t* dst, int dstLen) {
  const char* name = IconvName(cp);
  if (!name || !src || srcLen < 0) return 0;
  const wchar_t replacement = cp == CP_UTF8 ? L'\xFFFD' : L'?';
  std::string wide;
  if (!Convert("WCHAR_T", name, src, size_t(srcLen), 1, reinterpret_cast<const char*>(&replacement),
               sizeof replacement, wide))
    return 0;
  return Deliver(wide, sizeof(wchar_t), dst, dstLen);
}

int WideCharToMultiByte(UINT cp, DWORD, const wchar_t* src, int srcLen, char* dst, int dstLen, const char*,
                        LPBOOL usedDefault) {
  const char* name = IconvName(cp);
  if (!name || !src || srcLen < 0) return 0;
  if (usedDefault) *usedDefault = FALSE;
  std::string bytes;
  if (!Convert(name, "WCHAR_T", reinterpret_cast<const char*>(src), size_t(srcLen) * sizeof(wchar_t),
               sizeof(wchar_t), "?", 1, bytes))
    return 0;
  return Deliver(bytes, 1, dst, dstLen);
}

namespace seams {
IClock& Clock() {
  static FixedClock clock;
  return clock;
}
IDialogs& Dialogs() {
  static SilentDialogs dialogs;
  return dialogs;
}
}  // namespace seams
