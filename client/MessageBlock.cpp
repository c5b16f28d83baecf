// Building, reading and handing over message blocks; see MessageBlock.h for the layout.
#include "client/MessageBlock.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/WireFormat.h"
#include "platform/rtl/SysUtils.h"

size_t WriteMessageBlock(const TMessageBlock& block, char* buf, size_t capacity) {
  std::string name =
      block.DisplayName.size() > kMaxWireString ? sys::CutAnsi(block.DisplayName, kMaxWireString) : block.DisplayName;
  const size_t n = name.size();
  const size_t t = block.Formatted.size();
  if (t > UINT32_MAX || n + kMessageBlockOverhead > capacity || t > capacity - n - kMessageBlockOverhead)
    throw EMalformedBody("消息块超出长度");
  auto* p = reinterpret_cast<uint8_t*>(buf);
  p[0] = uint8_t(n);
  std::memcpy(p + 1, name.data(), n);
  p[n + 1] = block.Friend;
  p[n + 2] = block.Online;
  WriteDateTime(p + n + 3, block.Time);
  WriteU32(p + n + 11, uint32_t(t));
  std::memcpy(p + n + 15, block.Formatted.data(), t);
  return n + t + kMessageBlockOverhead;
}

std::string BuildMessageBlock(const TMessageBlock& block) {
  std::vector<char> buf(kMessageBlockCapacity);
  size_t size = WriteMessageBlock(block, buf.data(), buf.size());
  return std::string(buf.data(), size);
}

std::optional<TMessageBlock> ReadMessageBlock(const void* data, size_t size) {
  if (!data) return std::nullopt;
  try {
    TBodyReader r(static_cast<const uint8_t*>(data), size);
    TMessageBlock b;
    b.DisplayName = r.WireString();
    b.Friend = r.U8();
    b.Online = r.U8();
    b.Time = r.DateTime();
    b.Formatted = r.LongText();
    return b;
  } catch (const EMalformedBody&) {
    return std::nullopt;
  }
}

std::optional<TFormattedText> ReadBlockText(const TMessageBlock& block) {
  try {
    return ParseFormattedText(block.Formatted, block.Friend == 0);
  } catch (const EMalformedBody&) {
    return std::nullopt;
  }
}

std::string BuildCustomerFormattedText(uint8_t fontSize, const std::string& fontName, const std::string& colourText,
                                       const std::string& text) {
  return TBodyWriter().U8(fontSize).WireString(fontName).WireString(colourText).LongText(text).Take();
}

std::string LogExcerpt(const std::string& text) {
  std::string out = sys::CutAnsi(text, kLogExcerptBytes);
  for (char& c : out)
    if ((unsigned char)c < 0x20 || c == 0x7F) c = ' ';
  return out;
}

std::string FormattedLogExcerpt(const std::string& formatted, bool colourAsText) {
  try {
    return LogExcerpt(ParseFormattedText(formatted, colourAsText).Text);
  } catch (const EMalformedBody&) {
    return LogExcerpt(formatted);
  }
}

namespace {
// The records being handed over by this thread, innermost last (a window may hand on).
thread_local std::vector<const COPYDATASTRUCT*> handing;
}  // namespace

bool IsHandedRecord(LPARAM lParam) {
  return lParam && std::find(handing.begin(), handing.end(), (const COPYDATASTRUCT*)lParam) != handing.end();
}

LRESULT SendHandedRecord(HWND window, UINT message, ULONG_PTR kind, const std::string& bytes, HWND from) {
  std::vector<char> copy(bytes.begin(), bytes.end());
  COPYDATASTRUCT cds{};
  cds.dwData = kind;
  cds.cbData = DWORD(copy.size());
  cds.lpData = copy.empty() ? nullptr : copy.data();
  struct Handing {
    explicit Handing(const COPYDATASTRUCT* record) { handing.push_back(record); }
    ~Handing() { handing.pop_back(); }
  } mark(&cds);
  return SendMessageA(window, message, WPARAM(from), LPARAM(&cds));
}

LRESULT SendMessageBlock(HWND window, const std::string& block, HWND from) {
  return SendHandedRecord(window, kChatBlockMessage, kChatBlockKind, block, from);
}
