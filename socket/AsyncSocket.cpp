// The message-driven socket: hidden window, notification dispatch, connect, receive, the
// send queue, close and abort, errors, name look-ups and the listening side.
#include "socket/AsyncSocket.h"

#include <cstdarg>
#include <cstring>
#include <mutex>

#include "platform/rtl/Exception.h"
#include "platform/rtl/MessagePump.h"
#include "platform/rtl/SysUtils.h"
#include "socket/WinSockApi.h"

namespace {

const char kWindowClass[] = "XSocketWindowClass";
constexpr long kConnectEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;  // 0x3B
constexpr int32_t kGatherSize = 256 * 1024;

// The window-class lock and the number of socket windows alive.
std::mutex& ClassLock() {
  static std::mutex lock;
  return lock;
}
int g_windowCount = 0;

bool IsConnectionLoss(int code) {
  return code == WSAECONNRESET || code == WSAENOTSOCK || code == WSAENOTCONN || code == WSAEINVAL ||
         code == WSAECONNABORTED;
}

}  // namespace

// C++ exceptions must not unwind through the system's dispatch code.
LRESULT CALLBACK SocketWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* socket = reinterpret_cast<TCustomAsyncSocket*>(GetWindowLongPtrA(wnd, 0));
  if (!socket) return DefWindowProcA(wnd, msg, wParam, lParam);
  try {
    return socket->WndProc(msg, wParam, lParam);
  } catch (...) {
    ReportCallbackException("TCustomAsyncSocket.WndProc");
    return 0;
  }
}

TCustomAsyncSocket::TCustomAsyncSocket(TComponent* owner) : TComponent(owner) {
  uint64_t mix = (uint64_t(reinterpret_cast<uintptr_t>(this)) ^ GetTickCount64()) * 0x9E3779B97F4A7C15ull;
  postToken_ = LPARAM(mix >> 17) | 1;  // never 0, the value a stray message most likely carries
  AllocateSocketWindow();
  multiCastIpTTL_ = 1;
  listenBacklog_ = 5;
  ResetToDefaults();
  wsapi::AddRef();
}

TCustomAsyncSocket::~TCustomAsyncSocket() {
  destroying_ = true;
  // Messages pumped while closing must not reach a half-destroyed object.
  if (window_) SetWindowLongPtrA(window_, 0, 0);
  try {
    CancelDnsLookup();
    if (state_ != wsClosed) CloseSocket(true, 0);
  } catch (...) {
  }
  if (hSocket_ != INVALID_SOCKET) {
    wsapi::closesocket(hSocket_);
    hSocket_ = INVALID_SOCKET;
  }
  wsapi::Release();
  DiscardSendQueue();
  DeallocateSocketWindow();
}

// ---- hidden window ----

void TCustomAsyncSocket::AllocateSocketWindow() {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  {
    std::lock_guard<std::mutex> g(ClassLock());
    if (g_windowCount == 0) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = SocketWindowProc;
      wc.cbWndExtra = sizeof(LONG_PTR);
      wc.hInstance = inst;
      wc.lpszClassName = kWindowClass;
      RegisterClassA(&wc);  // already registered is fine
    }
    ++g_windowCount;
  }
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst, nullptr);
  if (!window_) {
    std::lock_guard<std::mutex> g(ClassLock());
    if (--g_windowCount == 0) UnregisterClassA(kWindowClass, inst);
    throw ESocketException("Cannot create a hidden window for TAsyncSocket");
  }
  SetWindowLongPtrA(window_, 0, reinterpret_cast<LONG_PTR>(this));
}

void TCustomAsyncSocket::DeallocateSocketWindow() {
  if (!window_) return;
  SetWindowLongPtrA(window_, 0, 0);
  DestroyWindow(window_);
  window_ = nullptr;
  std::lock_guard<std::mutex> g(ClassLock());
  if (--g_windowCount == 0) UnregisterClassA(kWindowClass, GetModuleHandleA(nullptr));
}

LRESULT TCustomAsyncSocket::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_ASYNCSELECT:
        HandleAsyncSelect(wParam, lParam);
        return 0;
      case WM_ASYNCGETHOSTBYNAME:
      case WM_ASYNCGETHOSTBYADDR:
        HandleDnsReply(msg, wParam, lParam);
        return 0;
      case WM_CLOSE_DELAYED:
        if (lParam == postToken_) Close();
        return 0;
      case WM_FREE_DELAYED:
        if (lParam == postToken_) delete this;
        return 0;
      case WM_TRIGGER_EXCEPTION:
        throw ESocketException("Test exception in AsyncSocket");
    }
  } catch (const std::exception& e) {
    HandleBgException(e);
    return 0;
  } catch (...) {
    HandleBgException(ESocketException("Unknown exception"));
    return 0;
  }
  return DefWindowProcA(window_, msg, wParam, lParam);
}

void TCustomAsyncSocket::HandleAsyncSelect(WPARAM wParam, LPARAM lParam) {
  SOCKET s = static_cast<SOCKET>(wParam);
  if (s == INVALID_SOCKET || s != hSocket_ || paused_) return;
  int events = WSAGETSELECTEVENT(lParam);
  uint16_t err = WSAGETSELECTERROR(lParam);
  uint32_t serial = session_;
  struct Step {
    int bit;
    void (TCustomAsyncSocket::*handler)(uint16_t);
  };
  static const Step kSteps[] = {{FD_CONNECT, &TCustomAsyncSocket::HandleFdConnect},
                                {FD_READ, &TCustomAsyncSocket::HandleFdRead},
                                {FD_WRITE, &TCustomAsyncSocket::HandleFdWrite},
                                {FD_ACCEPT, &TCustomAsyncSocket::HandleFdAccept},
                                {FD_CLOSE, &TCustomAsyncSocket::HandleFdClose}};
  for (const Step& step : kSteps) {
    // A step that closed or replaced the socket ends the dispatch of this notification.
    if (!(events & step.bit) || !SameSession(s, serial)) continue;
    handledEvent_ = step.bit;
    (this->*step.handler)(err);
  }
  handledEvent_ = 0;
}

// ---- properties ----

namespace {
// Stores a trimmed text; same text while assigned changes nothing.
bool StoreText(std::string& field, bool& assigned, bool& resolved, const std::string& value) {
  if (assigned && value == field) return false;
  field = sys::Trim(value);
  resolved = false;
  assigned = !field.empty();
  return true;
}
}  // namespace

void TCustomAsyncSocket::SetAddr(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Cannot change Addr if not closed");
  StoreText(addrStr_, addrAssigned_, addrResolved_, value);
}

void TCustomAsyncSocket::SetPort(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Cannot change Port if not closed");
  StoreText(portStr_, portAssigned_, portResolved_, value);
}

void TCustomAsyncSocket::SetProto(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Cannot change Proto if not closed");
  StoreText(protoStr_, protoAssigned_, protoResolved_, value);
}

void TCustomAsyncSocket::SetLocalPort(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Cannot change LocalPort if not closed");
  localPortStr_ = value;
  localPortResolved_ = false;
}

void TCustomAsyncSocket::SetLocalAddr(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Cannot change LocalAddr if not closed");
  localAddr_ = value.empty() ? "0.0.0.0" : value;
}

uint8_t TCustomAsyncSocket::ReqVerLow() const { return wsapi::ReqVerLow(); }
uint8_t TCustomAsyncSocket::ReqVerHigh() const { return wsapi::ReqVerHigh(); }

void TCustomAsyncSocket::SetReqVerLow(uint8_t v) {
  if (!wsapi::SetReqVer(v, wsapi::ReqVerHigh())) SocketError("SetReqVerLow: WinSock version can't be changed now");
}

void TCustomAsyncSocket::SetReqVerHigh(uint8_t v) {
  if (!wsapi::SetReqVer(wsapi::ReqVerLow(), v)) SocketError("SetReqVerHigh: WinSock version can't be changed now");
}

TSocketSendFlags TCustomAsyncSocket::SendFlags() const {
  if (sendFlags_ == 0) return wsSendNormal;
  if (sendFlags_ == MSG_OOB) return wsSendUrgent;
  throw ESocketException("Invalid internal SendFlags");
}

void TCustomAsyncSocket::SetSendFlags(TSocketSendFlags v) {
  if (v == wsSendNormal) sendFlags_ = 0;
  else if (v == wsSendUrgent) sendFlags_ = MSG_OOB;
  else ReportError("Invalid SendFlags");
}

// ---- state and events ----

void TCustomAsyncSocket::ChangeState(TSocketState newState) {
  TSocketState old = state_;
  state_ = newState;
  if (old != newState) FireChangeState(old, newState);
}

bool TCustomAsyncSocket::FireDataAvailable(uint16_t errCode) {
  if (!OnDataAvailable) return false;
  OnDataAvailable(this, errCode);
  return true;
}
void TCustomAsyncSocket::FireSessionAvailable(uint16_t e) { if (OnSessionAvailable) OnSessionAvailable(this, e); }
void TCustomAsyncSocket::FireConnected(uint16_t e) { FireSessionConnected(e); }
void TCustomAsyncSocket::FireSessionConnected(uint16_t e) { if (OnSessionConnected) OnSessionConnected(this, e); }
void TCustomAsyncSocket::FireSessionClosed(uint16_t e) { if (OnSessionClosed) OnSessionClosed(this, e); }
void TCustomAsyncSocket::FireDataSent(uint16_t e) { if (OnDataSent) OnDataSent(this, e); }
void TCustomAsyncSocket::FireChangeState(TSocketState o, TSocketState n) { if (OnChangeState) OnChangeState(this, o, n); }
void TCustomAsyncSocket::FireDnsLookupDone(uint16_t e) { if (OnDnsLookupDone) OnDnsLookupDone(this, e); }
void TCustomAsyncSocket::FireError() { if (OnError) OnError(this); }

// ---- errors ----

void TCustomAsyncSocket::ReportError(const std::string& text) {
  if (OnError) FireError();
  else throw ESocketException(text);
}

void TCustomAsyncSocket::ReportErrorFmt(const char* fmt, ...) {
  char buf[1024];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  ReportError(buf);
}

void TCustomAsyncSocket::SocketError(const char* callName) {
  int code = wsapi::WSAGetLastError();
  std::string text = "Error " + sys::IntToStr(code) + " in function " + callName + "\r\n" + SocketErrorDesc(code);
  if (code == WSAECONNRESET || code == WSAENOTCONN) {
    if (hSocket_ != INVALID_SOCKET) wsapi::closesocket(hSocket_);
    hSocket_ = INVALID_SOCKET;
    bool report = state_ != wsClosed && !closeReported_;
    ChangeState(wsClosed);
    closeReported_ = false;  // the next session reports its own end
    if (report) {
      FireSessionClosed((uint16_t)code);
      // A handler that connected again owns the socket now; this error was the old session's.
      if (hSocket_ != INVALID_SOCKET) return;
    }
  }
  lastError_ = code;
  ReportError(text);
}

void TCustomAsyncSocket::HandleBgException(const std::exception& e) {
  bool canClose = true;
  if (OnBgException) {
    try {
      OnBgException(this, e, canClose);
    } catch (...) {
    }
  }
  if (canClose) {
    try {
      Abort();
    } catch (...) {
    }
  }
}

// ---- connect and bind ----

void TCustomAsyncSocket::ResolveRemote() {
  if (!portResolved_) {
    portNum_ = SocketResolvePort(portStr_, protoStr_);
    sin_.sin_port = wsapi::htons(portNum_);
    portResolved_ = true;
  }
  if (!addrResolved_) {
    sin_.sin_addr.s_addr = SocketResolveHost(addrStr_);
    addrResolved_ = true;
  }
  sin_.sin_family = AF_INET;
}

void TCustomAsyncSocket::ResolveLocalPort() {
  localPortNum_ = SocketResolvePort(localPortStr_, protoStr_);
  localPortResolved_ = true;
}

bool TCustomAsyncSocket::SetLingerOption() {
  if (lingerOnOff_ == wsLingerNoSet) return true;
  if (hSocket_ == INVALID_SOCKET) {
    ReportError("Cannot set linger option at this time");
    return false;
  }
  linger l{};
  l.l_onoff = lingerOnOff_ == wsLingerOn ? 1 : 0;
  l.l_linger = (u_short)lingerTimeout_;
  if (wsapi::setsockopt(hSocket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l) == SOCKET_ERROR) {
    SocketError("setsockopt(SO_LINGER)");
    return false;
  }
  return true;
}

bool TCustomAsyncSocket::BindSocket() {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = wsapi::htons(localPortNum_);
  local.sin_addr.s_addr = SocketResolveHost(localAddr_);
  if (wsapi::bind(hSocket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    ReportErrorFmt("winsock.bind failed, error #%d", wsapi::WSAGetLastError());
    return false;
  }
  int len = sizeof local;
  if (wsapi::getsockname(hSocket_, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
    ReportErrorFmt("winsock.getsockname failed, error #%d", wsapi::WSAGetLastError());
    return false;
  }
  localPortNum_ = wsapi::ntohs(local.sin_port);
  localPortStr_ = sys::IntToStr(localPortNum_);
  return true;
}

void TCustomAsyncSocket::Connect() {
  if (hSocket_ != INVALID_SOCKET && state_ != wsClosed) return ReportError("Connect: Socket already in use");
  if (!portAssigned_) return ReportError("Connect: No Port Specified");
  if (!addrAssigned_) return ReportError("Connect: No IP Address Specified");
  if (!protoAssigned_) return ReportError("Connect: No Protocol Specified");

  if (!protoResolved_) {
    proto_ = SocketResolveProto(protoStr_);
    type_ = proto_ == IPPROTO_TCP ? SOCK_STREAM : proto_ == IPPROTO_UDP ? SOCK_DGRAM : SOCK_RAW;
    protoResolved_ = true;
  }
  if (!localPortResolved_) ResolveLocalPort();
  ResolveRemote();
  DiscardSendQueue();
  hSocket_ = wsapi::socket(AF_INET, type_, proto_);
  if (hSocket_ == INVALID_SOCKET) return SocketError("Connect (socket)");
  uint32_t serial = ++session_;
  // A step that fails after this leaves no half-open handle behind: the socket is closed
  // again, so its settings can be changed for the next attempt.
  SOCKET made = hSocket_;
  bool started = false;
  try {
    started = StartSession();
  } catch (...) {
    AbandonHandle(made, serial);
    throw;
  }
  if (!started) AbandonHandle(made, serial);
}

bool TCustomAsyncSocket::StartSession() {
  closeReported_ = false;  // a new session reports its own end
  ChangeState(wsOpened);
  if (state_ != wsOpened) {
    wsapi::WSASetLastError(WSAEINVAL);
    return FailStep("Connect (Invalid operation in OnChangeState)");
  }

  BOOL on = TRUE;
  const char* onp = reinterpret_cast<const char*>(&on);
  if (type_ == SOCK_STREAM) {
    if (wsapi::setsockopt(hSocket_, SOL_SOCKET, SO_REUSEADDR, onp, sizeof on) == SOCKET_ERROR)
      return FailStep("setsockopt(SO_REUSEADDR)");
    if (options_.Contains(asoTcpNoDelay) &&
        wsapi::setsockopt(hSocket_, IPPROTO_TCP, TCP_NODELAY, onp, sizeof on) == SOCKET_ERROR)
      return FailStep("setsockopt(IPPROTO_TCP, TCP_NODELAY)");
    if (!SetLingerOption()) return false;
    if (wsapi::setsockopt(hSocket_, SOL_SOCKET, SO_KEEPALIVE, onp, sizeof on) == SOCKET_ERROR)
      return FailStep("setsockopt(SO_KEEPALIVE)");
    if ((localPortNum_ != 0 || localAddr_ != "0.0.0.0") && !BindSocket()) return false;
  } else if (type_ == SOCK_DGRAM) {
    if (!BindSocket()) return false;
    if (multiCast_) {
      if (multiCastIpTTL_ != 1) {
        int ttl = multiCastIpTTL_;
        if (wsapi::setsockopt(hSocket_, IPPROTO_IP, wsapi::kIpMulticastTtl, reinterpret_cast<const char*>(&ttl),
                              sizeof ttl) == SOCKET_ERROR)
          return FailStep("setsockopt(IP_MULTICAST_TTL)");
      }
      if (localAddr_ != "0.0.0.0") {
        in_addr iface{};
        iface.s_addr = SocketResolveHost(localAddr_);
        if (wsapi::setsockopt(hSocket_, IPPROTO_IP, wsapi::kIpMulticastIf, reinterpret_cast<const char*>(&iface),
                              sizeof iface) == SOCKET_ERROR)
          return FailStep("setsockopt(IP_MULTICAST_IF)");
      }
    }
    if (sin_.sin_addr.s_addr == INADDR_BROADCAST &&
        wsapi::setsockopt(hSocket_, SOL_SOCKET, SO_BROADCAST, onp, sizeof on) == SOCKET_ERROR)
      return FailStep("setsockopt(SO_BROADCAST)");
  }

  selectEvents_ = kConnectEvents;
  if (wsapi::WSAAsyncSelect(hSocket_, window_, WM_ASYNCSELECT, selectEvents_) != 0)
    return FailStep("WSAAsyncSelect");

  if (type_ == SOCK_STREAM) {
    if (wsapi::connect(hSocket_, reinterpret_cast<sockaddr*>(&sin_), sizeof sin_) != 0) {
      int e = wsapi::WSAGetLastError();
      if (e != WSAEWOULDBLOCK) {
        lastError_ = e;
        return FailStep("Connect");
      }
    }
    ChangeState(wsConnecting);
  } else {
    ChangeState(wsConnected);
    FireSessionConnected(0);
  }
  return true;
}

bool TCustomAsyncSocket::FailStep(const char* callName) {
  SocketError(callName);
  return false;
}

void TCustomAsyncSocket::AbandonHandle(SOCKET made, uint32_t serial) {
  // A handler run by the failure may have closed it, or connected again.
  if (made == INVALID_SOCKET || !SameSession(made, serial)) return;
  wsapi::closesocket(made);
  hSocket_ = INVALID_SOCKET;
  DiscardSendQueue();
  if (state_ != wsClosed) ChangeState(wsClosed);
  ResetToDefaults();
}

// ---- notification steps ----

void TCustomAsyncSocket::HandleFdConnect(uint16_t errCode) {
  if (state_ == wsConnected) return;
  SOCKET s = hSocket_;
  uint32_t serial = session_;
  ChangeState(wsConnected);
  FireConnected(errCode);
  if (errCode != 0 && state_ != wsClosed && SameSession(s, serial)) Close();
}

void TCustomAsyncSocket::HandleFdRead(uint16_t errCode) {
  if (state_ != wsConnected) {
    ChangeState(wsConnected);
    FireConnected(errCode);
  }
  ReceiveLoop(options_, errCode);
}

void TCustomAsyncSocket::HandleFdWrite(uint16_t errCode) {
  TryToSend();
  if (allSent_) FireDataSent(errCode);
}

void TCustomAsyncSocket::HandleFdAccept(uint16_t errCode) { FireSessionAvailable(errCode); }

void TCustomAsyncSocket::HandleFdClose(uint16_t errCode) {
  if (state_ == wsConnecting) return;
  SOCKET s = hSocket_;
  uint32_t serial = session_;
  TAsyncSocketOptions all = options_;
  all.Exclude(asoNoReceiveLoop);
  ReceiveLoop(all, 0);
  if (!SameSession(s, serial)) return;  // a handler closed it; that close reported the end
  if (!closeReported_) {
    closeReported_ = true;
    FireSessionClosed(errCode);
  }
  // A handler may already have closed this session and started the next one.
  if (state_ != wsClosed && SameSession(s, serial)) Close();
}

void TCustomAsyncSocket::ReceiveLoop(TAsyncSocketOptions options, uint16_t errCode) {
  for (;;) {
    try {
      lastError_ = 0;
      readBufferFull_ = true;
      if (!FireDataAvailable(errCode)) {
        char scratch[1024];
        if (Receive(scratch, sizeof scratch) < 0 && lastError_ == WSAEWOULDBLOCK) {
          lastError_ = 0;
          break;
        }
      }
      if (options.Contains(asoNoReceiveLoop)) break;
      if (lastError_ != 0) {
        if (lastError_ == -1) lastError_ = 0;
        break;
      }
      // A read that got less than it asked for emptied the socket (saving the count query);
      // new bytes come with a new notification.
      if (hSocket_ == INVALID_SOCKET || !readBufferFull_) break;
      u_long waiting = 0;
      if (wsapi::ioctlsocket(hSocket_, FIONREAD, &waiting) == SOCKET_ERROR) {
        lastError_ = wsapi::WSAGetLastError();
        break;
      }
      if (waiting == 0) break;
    } catch (...) {
      break;
    }
  }
}

// ---- receiving ----

int32_t TCustomAsyncSocket::GetRcvdCount() {
  u_long waiting = 0;
  if (wsapi::ioctlsocket(hSocket_, FIONREAD, &waiting) == SOCKET_ERROR) {
    SocketError("ioctlSocket");
    return -1;
  }
  return (int32_t)waiting;
}

int TCustomAsyncSocket::RecvRaw(void* buffer, int size) {
  int n = wsapi::recv(hSocket_, static_cast<char*>(buffer), size, 0);
  readBufferFull_ = n == size;
  return n;
}

int TCustomAsyncSocket::RecvFromRaw(void* buffer, int size, sockaddr_in& from, int& fromLen) {
  int n = wsapi::recvfrom(hSocket_, static_cast<char*>(buffer), size, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
  readBufferFull_ = n == size;
  return n;
}

int TCustomAsyncSocket::Receive(void* buffer, int size) {
  int n = RecvRaw(buffer, size);
  if (n < 0) {
    lastError_ = wsapi::WSAGetLastError();
    return n;
  }
  readCount_ += n;
  return n;
}

std::string TCustomAsyncSocket::ReceiveStr() {
  int32_t n = GetRcvdCount();
  if (n < 0) return std::string();
  if (n == 0) n = 255;
  std::string s(n, '\0');
  int got = Receive(s.data(), n);
  if (got < 1) return std::string();
  s.resize(got);
  return s;
}

int TCustomAsyncSocket::ReceiveFrom(void* buffer, int size, sockaddr_in& from, int& fromLen) {
  int n = RecvFromRaw(buffer, size, from, fromLen);
  if (n < 0) {
    lastError_ = wsapi::WSAGetLastError();
    return n;
  }
  readCount_ += n;
  return n;
}

// ---- sending ----

void TCustomAsyncSocket::QueueSendData(const void* data, int32_t len) {
  if (len <= 0 || !data) return;
  auto* p = static_cast<const uint8_t*>(data);
  if (queue_.empty()) queue_.push_back(std::make_unique<TBuffer>(kBlockSize));
  int32_t n = queue_.back()->Write(p, len);
  while (n < len) {
    queue_.push_back(std::make_unique<TBuffer>(kBlockSize));
    n += queue_.back()->Write(p + n, len - n);
  }
}

bool TCustomAsyncSocket::QueueEmpty() const {
  int32_t len;
  return queue_.empty() || (queue_.size() == 1 && !queue_.front()->Peek(len));
}

void TCustomAsyncSocket::DiscardSendQueue() {
  queue_.clear();
  gather_.clear();
  gather_.shrink_to_fit();
}

void TCustomAsyncSocket::RemoveSent(int32_t n) {
  while (n > 0 && !queue_.empty()) {
    n -= queue_.front()->Remove(n);
    int32_t left;
    if (!queue_.front()->Peek(left) && queue_.size() > 1) queue_.pop_front();
  }
}

void TCustomAsyncSocket::TryToSend() {
  if (hSocket_ == INVALID_SOCKET) return;
  for (;;) {
    if (queue_.empty()) {
      allSent_ = true;
      return;
    }
    int32_t len;
    const uint8_t* p = queue_.front()->Peek(len);
    if (!p) {
      if (queue_.size() > 1) {
        queue_.pop_front();
        continue;
      }
      allSent_ = true;  // the last block stays for reuse
      return;
    }
    // Hand the pending bytes of several blocks to one send: far fewer calls into WinSock.
    if (queue_.size() > 1 && len < kGatherSize) {
      gather_.resize(kGatherSize);
      int32_t total = 0;
      for (auto& block : queue_) {
        int32_t n;
        const uint8_t* q = block->Peek(n);
        if (!q) continue;
        if (n > kGatherSize - total) n = kGatherSize - total;
        std::memcpy(gather_.data() + total, q, n);
        total += n;
        if (total == kGatherSize) break;
      }
      p = gather_.data();
      len = total;
    }
    int sent = RawSend(p, len);
    if (sent < 0) {
      int e = wsapi::WSAGetLastError();
      if (IsConnectionLoss(e)) {
        bool reported = closeReported_;  // a close handler that sends must not see a second end
        closeReported_ = true;
        Close();
        if (!reported) FireSessionClosed((uint16_t)e);
      } else if (e != WSAEWOULDBLOCK) {
        wsapi::WSASetLastError(e);
        SocketError("TryToSend failed");
      }
      return;
    }
    if (sent == 0) return;
    RemoveSent(sent);
    // Only now: a handler that sends queues behind what is left, not in front of it, and
    // does not send again what was just taken.
    FireSendData(sent);
    if (hSocket_ == INVALID_SOCKET) return;
    // A short send does not re-arm the write notification (only a send that would block
    // does), so go on until WinSock says it would block.
  }
}

int TCustomAsyncSocket::RawSend(const void* data, int len) {
  int n = type_ == SOCK_DGRAM
              ? wsapi::sendto(hSocket_, static_cast<const char*>(data), len, sendFlags_,
                              reinterpret_cast<const sockaddr*>(&sin_), sizeof sin_)
              : wsapi::send(hSocket_, static_cast<const char*>(data), len, sendFlags_);
  return n;
}

void TCustomAsyncSocket::FireSendData(int32_t sent) {
  if (sent > 0 && OnSendData) OnSendData(this, sent);
}

int32_t TCustomAsyncSocket::Send(const void* data, int32_t len) {
  if (state_ != wsConnected && state_ != wsSocksConnected) {
    wsapi::WSASetLastError(WSAENOTCONN);
    SocketError("Send");
    return -1;
  }
  allSent_ = false;
  int32_t result = 0;
  if (len > 0) {
    result = len;
    int32_t direct = 0;
    // Nothing waits in the queue: hand the bytes to WinSock at once and queue only what it
    // does not take, which saves copying them into blocks first.
    if (QueueEmpty()) {
      direct = RawSend(data, len);
      if (direct < 0) direct = 0;  // the queue's own send meets the error again and handles it
    }
    QueueSendData(static_cast<const uint8_t*>(data) + direct, len - direct);
    // After the rest is queued, so that bytes a handler sends go out behind it.
    FireSendData(direct);
    if (hSocket_ == INVALID_SOCKET) return result;
  }
  TryToSend();
  if (allSent_ && hSocket_ != INVALID_SOCKET)
    PostMessageA(window_, WM_ASYNCSELECT, (WPARAM)hSocket_, WSAMAKESELECTREPLY(FD_WRITE, 0));
  return result;
}

int32_t TCustomAsyncSocket::SendStr(const std::string& text) {
  if (text.empty()) return 0;
  return Send(text.data(), (int32_t)text.size());
}

int TCustomAsyncSocket::SendTo(const sockaddr_in& dest, int destLen, const void* data, int len) {
  int n = wsapi::sendto(hSocket_, static_cast<const char*>(data), len, sendFlags_,
                        reinterpret_cast<const sockaddr*>(&dest), destLen);
  if (n > 0) {
    FireSendData(n);
    if (type_ == SOCK_DGRAM && queue_.empty())
      PostMessageA(window_, WM_ASYNCSELECT, (WPARAM)hSocket_, WSAMAKESELECTREPLY(FD_WRITE, 0));
  } else if (n < 0) {
    lastError_ = wsapi::WSAGetLastError();
  }
  return n;
}

void TCustomAsyncSocket::Flush() {
  while (hSocket_ != INVALID_SOCKET && !allSent_) {
    TryToSend();
    ProcessMessages();
    if (!allSent_) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// ---- close and abort ----

void TCustomAsyncSocket::ResetToDefaults() {
  std::memset(&sin_, 0, sizeof sin_);
  sin_.sin_family = AF_INET;
  portAssigned_ = addrAssigned_ = false;
  portResolved_ = addrResolved_ = protoResolved_ = localPortResolved_ = false;
  protoAssigned_ = true;
  protoStr_ = "tcp";
  proto_ = IPPROTO_TCP;
  type_ = SOCK_STREAM;
  localPortStr_ = "0";
  localAddr_ = "0.0.0.0";
  lingerOnOff_ = wsLingerOn;
  lingerTimeout_ = 0;
  hSocket_ = INVALID_SOCKET;
  selectEvents_ = 0;
  state_ = wsClosed;
  allSent_ = true;
  paused_ = false;
  readCount_ = 0;
  closeReported_ = false;
  flushTimeout_ = 60;
}

void TCustomAsyncSocket::CloseSocket(bool shut, uint16_t errCode) {
  if (hSocket_ == INVALID_SOCKET) {
    if (state_ != wsClosed) ChangeState(wsClosed);
    ResetToDefaults();
    return;
  }
  if (state_ == wsClosed) return;
  if (shut) {
    wsapi::shutdown(hSocket_, 1);
    // Lingering on with no time makes closesocket reset the connection and throw away what
    // the kernel still holds; a graceful close lets it deliver those bytes first.
    if (lingerOnOff_ == wsLingerOn && lingerTimeout_ == 0) {
      linger l{};
      wsapi::setsockopt(hSocket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
    }
  }
  for (;;) {
    if (wsapi::closesocket(hSocket_) == 0) break;
    int e = wsapi::WSAGetLastError();
    if (e == WSAEWOULDBLOCK) {
      ProcessMessages();
      continue;
    }
    hSocket_ = INVALID_SOCKET;
    if (e != WSANOTINITIALISED) {
      wsapi::WSASetLastError(e);
      return SocketError("Disconnect (closesocket)");
    }
    break;
  }
  hSocket_ = INVALID_SOCKET;
  DiscardSendQueue();
  ChangeState(wsClosed);
  if (!destroying_ && !closeReported_) {
    closeReported_ = true;
    FireSessionClosed(errCode);
    // A handler that connected again owns the socket now: its handle, state and settings stay.
    if (hSocket_ != INVALID_SOCKET) return;
  }
  ResetToDefaults();
}

void TCustomAsyncSocket::Close() { CloseSocket(true, 0); }

void TCustomAsyncSocket::AbortWithError(uint16_t errCode) {
  CancelDnsLookup();
  DiscardSendQueue();
  if (state_ == wsConnected && type_ == SOCK_STREAM && hSocket_ != INVALID_SOCKET) {
    lingerOnOff_ = wsLingerOff;
    SetLingerOption();
  }
  CloseSocket(false, errCode);
}

void TCustomAsyncSocket::Abort() { AbortWithError(0); }

void TCustomAsyncSocket::PostClose() { PostMessageA(window_, WM_CLOSE_DELAYED, 0, postToken_); }
void TCustomAsyncSocket::PostFree() { PostMessageA(window_, WM_FREE_DELAYED, 0, postToken_); }

void TCustomAsyncSocket::Shutdown(int how) {
  if (hSocket_ != INVALID_SOCKET) wsapi::shutdown(hSocket_, how);
}

void TCustomAsyncSocket::Pause() {
  if (hSocket_ == INVALID_SOCKET) return;
  paused_ = true;
  wsapi::WSAAsyncSelect(hSocket_, window_, 0, 0);
}

void TCustomAsyncSocket::Resume() {
  if (hSocket_ == INVALID_SOCKET) return;
  paused_ = false;
  wsapi::WSAAsyncSelect(hSocket_, window_, WM_ASYNCSELECT, selectEvents_);
}

void TCustomAsyncSocket::DrainUntilClosed() {
  while (hSocket_ != INVALID_SOCKET && state_ != wsClosed) {
    ProcessMessages();
    if (hSocket_ == INVALID_SOCKET) break;
    u_long waiting = 0;
    if (wsapi::ioctlsocket(hSocket_, FIONREAD, &waiting) == SOCKET_ERROR) break;
    if (waiting > 0) FireDataAvailable(0);
    if (hSocket_ == INVALID_SOCKET) break;
    char none;
    if (wsapi::recv(hSocket_, &none, 0, 0) == SOCKET_ERROR && wsapi::WSAGetLastError() != WSAEWOULDBLOCK) break;
    ProcessMessages();
  }
}

void TCustomAsyncSocket::ProcessMessages() {
  if (!multiThreaded_)
    if (IMessagePump* pump = message_pump::InstalledPump()) return pump->ProcessMessages();
  // A socket thread's quit is its own; the GUI thread's loop must still see its quit to end.
  if (!message_pump::PumpWaitingMessages(!multiThreaded_)) terminated_ = true;
}

// ---- time values ----

bool TCustomAsyncSocket::TimeValIsSet(const timeval& tv) { return tv.tv_sec != 0 || tv.tv_usec != 0; }
void TCustomAsyncSocket::TimeValClear(timeval& tv) { tv.tv_sec = tv.tv_usec = 0; }
bool TCustomAsyncSocket::TimeValEqual(const timeval& a, const timeval& b, bool equal) {
  bool same = a.tv_sec == b.tv_sec && a.tv_usec == b.tv_usec;
  return equal ? same : !same;
}
