// Line mode: received bytes gather in a buffer, each line found is offered through
// OnDataAvailable and read with Receive/ReceiveStr, which then return that line only.
#include "socket/LineSocket.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "socket/WinSockApi.h"

TCustomLineSocket::TCustomLineSocket(TComponent* owner) : TCustomSocksSocket(owner) {}

TCustomLineSocket::~TCustomLineSocket() = default;

void TCustomLineSocket::SetLineMode(bool value) {
  if (value == lineMode_) return;
  lineMode_ = value;
  if (!value) lineLength_ = 0;  // the held bytes are ordinary data from now on
  if (rcvCnt_ > 0) PostMessageA(Handle(), WM_TRIGGER_DATA_AVAILABLE, 0, 0);
}

int32_t TCustomLineSocket::SendLine(const std::string& text) {
  if (text.empty()) return 0;
  // Not connected (reported through OnError when assigned): the line was not sent.
  if (Send(text.data(), (int32_t)text.size()) < 0) return -1;
  if (SendStr(lineEnd_) < 0) return -1;
  return (int32_t)text.size() + 2;
}

void TCustomLineSocket::FireLineLimitExceeded(int32_t rcvdLength, bool& clearData) {
  if (OnLineLimitExceeded) OnLineLimitExceeded(this, rcvdLength, clearData);
}

LRESULT TCustomLineSocket::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_TRIGGER_DATA_AVAILABLE) return TCustomSocksSocket::WndProc(msg, wParam, lParam);
  try {
    OfferHeldAgain();
  } catch (const std::exception& e) {
    HandleBgException(e);
  } catch (...) {
    HandleBgException(ESocketException("Unknown exception"));
  }
  return 0;
}

// ---- the held buffer ----

void TCustomLineSocket::MakeRoom(int more) {
  size_t need = (size_t)rcvCnt_ + more;
  if (head_ > 0 && head_ + need > rcvBuf_.size()) {
    std::memmove(rcvBuf_.data(), Held(), rcvCnt_);
    head_ = 0;
  }
  if (need > rcvBuf_.size()) rcvBuf_.resize(std::max(need, rcvBuf_.size() * 2));
}

void TCustomLineSocket::Consume(int n) {
  head_ += n;
  rcvCnt_ -= n;
  if (rcvCnt_ <= 0) head_ = rcvCnt_ = 0;
}

int32_t TCustomLineSocket::GetRcvdCount() {
  if (lineMode_ && !lineEnd_.empty()) return lineLength_;
  if (rcvCnt_ > 0) return rcvCnt_;
  return TCustomSocksSocket::GetRcvdCount();
}

int TCustomLineSocket::RecvRaw(void* buffer, int size) {
  int avail;
  if (lineMode_ && !lineEnd_.empty()) {
    if (lineLength_ <= 0) {
      wsapi::WSASetLastError(WSAEWOULDBLOCK);  // no whole line yet
      return -1;
    }
    avail = lineLength_;
  } else if (rcvCnt_ > 0) {
    avail = rcvCnt_;
  } else {
    return TCustomSocksSocket::RecvRaw(buffer, size);
  }
  int n = std::min(size, avail);
  if (n <= 0) return 0;
  std::memcpy(buffer, Held(), n);
  Consume(n);
  if (lineLength_ > 0) lineLength_ -= n;
  return n;
}

// ---- reading lines ----

bool TCustomLineSocket::FireDataAvailable(uint16_t errCode) {
  if (!lineMode_ || lineEnd_.empty() || Negotiating()) return TCustomSocksSocket::FireDataAvailable(errCode);
  int32_t n = TCustomSocksSocket::GetRcvdCount();
  if (n < 0) return true;
  if (n == 0) n = 255;
  MakeRoom(n);
  int got = TCustomSocksSocket::RecvRaw(Held() + rcvCnt_, n);
  if (got <= 0) {
    if (rcvCnt_ == 0) return true;
    got = 0;
  }
  int old = rcvCnt_;
  rcvCnt_ += got;
  int changed = old;
  if (got > 0) {
    if (lineEdit_) changed = ApplyLineEditing(old);
    else if (lineEcho_) Send(Held() + old, got);
  }
  // Start just before the new bytes, so a line end split across reads is found.
  ScanLines(std::max(0, changed - (int)lineEnd_.size() + 1));
  return true;
}

void TCustomLineSocket::ScanLines(int searchFrom) {
  for (;;) {
    if (lineLength_ == 0) {
      size_t pos = std::string_view(Held(), rcvCnt_).find(lineEnd_, searchFrom);
      if (pos == std::string_view::npos) break;
      lineLength_ = (int)(pos + lineEnd_.size());
      lineReceived_ = lineFound_ = true;
    }
    DeliverLine();
    if (!lineMode_) return DeliverHeld();
    if (lineLength_ > 0) return;  // left unread: offered again with the next notification
    searchFrom = 0;
  }
  if (lineLimit_ > 0 && rcvCnt_ > lineLimit_) {
    lineClearData_ = true;
    FireLineLimitExceeded(rcvCnt_, lineClearData_);
    if (lineClearData_) head_ = rcvCnt_ = lineLength_ = 0;
  }
}

void TCustomLineSocket::DeliverLine() {
  while (lineMode_ && lineLength_ > 0) {
    if (!OnDataAvailable) {
      Consume(lineLength_);
      lineLength_ = 0;
      return;
    }
    int before = lineLength_;
    TCustomAsyncSocket::FireDataAvailable(0);
    // A handler that reads nothing would be called forever; its line waits instead.
    if (lineLength_ == before) return;
  }
}

void TCustomLineSocket::DeliverHeld() {
  lineLength_ = 0;
  while (!lineMode_ && rcvCnt_ > 0 && OnDataAvailable) {
    int before = rcvCnt_;
    TCustomAsyncSocket::FireDataAvailable(0);
    if (rcvCnt_ == before) return;
  }
}

void TCustomLineSocket::OfferHeldAgain() {
  if (!lineMode_ || lineEnd_.empty()) return DeliverHeld();
  for (int pass = 0; rcvCnt_ > 0 && lineMode_; ++pass) {
    lineFound_ = false;
    ScanLines(0);
    if (!lineFound_ || lineLength_ > 0) break;
  }
}

int TCustomLineSocket::ApplyLineEditing(int oldCount) {
  std::string fresh(Held() + oldCount, rcvCnt_ - oldCount);
  MakeRoom(8 * (int)fresh.size());  // the worst case: every byte a tab
  int w = oldCount, first = oldCount;
  std::string echo;
  for (char c : fresh) {
    if (c == '\b') {
      if (w > lineLength_) {  // a line already found is not edited
        --w;
        first = std::min(first, w);
        if (lineEcho_) echo += "\b \b";
      }
    } else if (c == '\t') {
      int blanks = 8 - (w % 8);
      std::memset(Held() + w, ' ', blanks);
      w += blanks;
      if (lineEcho_) echo.append(blanks, ' ');
    } else {
      Held()[w++] = c;
      if (lineEcho_) echo += c;
    }
  }
  rcvCnt_ = w;
  if (!echo.empty()) Send(echo.data(), (int32_t)echo.size());
  return first;
}

// ---- end of session ----

void TCustomLineSocket::FireSessionClosed(uint16_t errCode) {
  lineReceived_ = true;
  if (lineMode_ && rcvCnt_ > 0 && !lineClearData_) {
    lineLength_ = rcvCnt_;  // what is held is the last line
    DeliverLine();
  }
  std::vector<char>().swap(rcvBuf_);
  head_ = rcvCnt_ = lineLength_ = 0;
  lineClearData_ = false;
  TCustomSocksSocket::FireSessionClosed(errCode);
}
