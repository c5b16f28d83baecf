// SOCKS 4/4A/5 negotiation: requests on connect to the proxy, replies parsed from the
// receive area, and the bytes behind the proxy's final reply handed out before new ones.
#include "socket/SocksSocket.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "socket/WinSockApi.h"

TCustomSocksSocket::TCustomSocksSocket(TComponent* owner) : TCustomAsyncSocket(owner) {}

void TCustomSocksSocket::ResetToDefaults() {
  TCustomAsyncSocket::ResetToDefaults();
  socksState_ = kSocksData;
  socksServer_.clear();
  socksPort_.clear();
  socksServerAssigned_ = socksPortAssigned_ = false;
  socksLevel_ = "5";
  rcvCount_ = 0;
  heldCount_ = heldPos_ = 0;
}

void TCustomSocksSocket::SetSocksServer(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Can't change socks server if not closed");
  socksServer_ = sys::Trim(value);
  socksServerAssigned_ = !socksServer_.empty();
}

void TCustomSocksSocket::SetSocksPort(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Can't change socks port if not closed");
  socksPort_ = sys::Trim(value);
  socksPortAssigned_ = !socksPort_.empty();
}

void TCustomSocksSocket::SetSocksLevel(const std::string& value) {
  if (state_ != wsClosed) return ReportError("Can't change socks level if not closed");
  std::string level = sys::UpperCase(value);
  if (level != "4" && level != "4A" && level != "5") return ReportError("Invalid socks level. Must be 4, 4A or 5.");
  socksLevel_ = level;
}

void TCustomSocksSocket::Listen() {
  if (socksServerAssigned_) return ReportError("Listening is not supported thru socks server");
  TCustomAsyncSocket::Listen();
}

void TCustomSocksSocket::Connect() {
  // A proxy without a port is an error below, never a direct connection.
  if (!socksServerAssigned_ || !portAssigned_ || !addrAssigned_ ||
      (hSocket_ != INVALID_SOCKET && state_ != wsClosed))
    return TCustomAsyncSocket::Connect();  // plain connect, or the base reports what is missing
  if (sys::LowerCase(Proto()) != "tcp") return ReportError("tcp is the only protocol supported thru socks server");
  sin_.sin_port = wsapi::htons(SocketResolvePort(socksPort_, "tcp"));
  sin_.sin_addr.s_addr = SocketResolveHost(socksServer_);
  portResolved_ = addrResolved_ = true;
  remotePort_ = SocketResolvePort(Port(), "tcp");
  socksState_ = kSocksMethods;
  rcvCount_ = 0;
  heldCount_ = heldPos_ = 0;
  TCustomAsyncSocket::Connect();
}

void TCustomSocksSocket::FireSocksConnected(uint16_t e) { if (OnSocksConnected) OnSocksConnected(this, e); }
void TCustomSocksSocket::FireSocksError(int32_t e, const std::string& m) { if (OnSocksError) OnSocksError(this, e, m); }

namespace {
void PutPort(std::string& out, u_short port) {
  out += (char)(port >> 8);
  out += (char)(port & 0xFF);
}
}  // namespace

void TCustomSocksSocket::FireConnected(uint16_t errCode) {
  if (socksState_ != kSocksMethods) return TCustomAsyncSocket::FireConnected(errCode);
  FireSocksConnected(errCode);
  if (errCode != 0) return TCustomAsyncSocket::FireConnected(errCode);
  if (socksLevel_[0] == '4') return SendConnectRequest();
  authMethod_ = socksAuthentication_ == socksAuthenticateUsercode ? 2 : 0;
  const char request[3] = {5, 1, (char)authMethod_};
  Send(request, 3);
}

void TCustomSocksSocket::SendConnectRequest() {
  std::string req;
  if (socksLevel_[0] == '5') {
    if (Addr().size() > 255) return SocksFail(socksInternalError, "host name too long");
    req = {5, 1, 0, 3};
    req += (char)Addr().size();
    req += Addr();
    PutPort(req, remotePort_);
  } else {
    req = {4, 1};
    PutPort(req, remotePort_);
    if (socksLevel_ == "4A") {
      req += std::string("\0\0\0\1", 4);
    } else {
      u_long ip;
      try {
        ip = SocketResolveHost(Addr());
      } catch (const ESocketException& e) {
        return SocksFail(socksInternalError, e.Message());
      }
      req.append(reinterpret_cast<const char*>(&ip), 4);  // already in network order
    }
    req += socksUsercode_;
    req += '\0';
    if (socksLevel_ == "4A") {
      req += Addr();
      req += '\0';
    }
  }
  socksState_ = kSocksConnect;
  Send(req.data(), (int32_t)req.size());
}

void TCustomSocksSocket::SendAuthRequest() {
  if (socksUsercode_.size() > 255 || socksPassword_.size() > 255)
    return SocksFail(socksAuthenticationFailed, "socks authentication failed");
  std::string req(1, '\1');
  req += (char)socksUsercode_.size();
  req += socksUsercode_;
  req += (char)socksPassword_.size();
  req += socksPassword_;
  socksState_ = kSocksAuth;
  Send(req.data(), (int32_t)req.size());
}

void TCustomSocksSocket::SocksFail(int32_t code, const std::string& msg) {
  SOCKET s = hSocket_;
  uint32_t serial = session_;
  FireSocksError(code, msg);
  socksState_ = kSocksData;
  FireSessionConnected((uint16_t)code);
  // A handler that gave up on the proxy and connected again owns the socket now.
  if (SameSession(s, serial)) CloseSocket(true, (uint16_t)code);
}

void TCustomSocksSocket::Succeed(int replyLen) {
  heldPos_ = replyLen;
  heldCount_ = rcvCount_ - replyLen;
  rcvCount_ = 0;
  socksState_ = kSocksData;
  FireSessionConnected(0);
  if (hSocket_ != INVALID_SOCKET) FireDataAvailable(0);
}

bool TCustomSocksSocket::FireDataAvailable(uint16_t errCode) {
  if (socksState_ == kSocksData) return TCustomAsyncSocket::FireDataAvailable(errCode);
  if (errCode != 0) {
    SocksFail(errCode, "data receive error");
    return true;
  }
  int room = kRcvAreaSize - 1 - rcvCount_;
  int n = room > 0 ? TCustomAsyncSocket::RecvRaw(rcvArea_ + rcvCount_, room) : 0;
  if (n <= 0) {
    if (room <= 0) SocksFail(socksProtocolError, "too much data available");
    return true;
  }
  rcvCount_ += n;
  switch (socksState_) {
    case kSocksMethods: ReplyMethods(); break;
    case kSocksAuth: ReplyAuth(); break;
    case kSocksConnect:
      if (socksLevel_[0] == '4') ReplyConnect4();
      else ReplyConnect5();
      break;
    default: SocksFail(socksInternalError, "internal error");
  }
  return true;
}

void TCustomSocksSocket::ReplyMethods() {
  if (socksLevel_[0] == '4') return SocksFail(socksProtocolError, "TAsyncSocket logic error");
  if (rcvCount_ < 2) return;
  rcvCount_ = 0;
  if (rcvArea_[0] != 5) return SocksFail(socksVersionError, "socks version error");
  if (rcvArea_[1] == 0) {
    if (socksAuthentication_ == socksAuthenticateUsercode && OnSocksAuthState) OnSocksAuthState(this, socksAuthNotRequired);
    SendConnectRequest();
  } else if (rcvArea_[1] == 2 && authMethod_ == 2) {
    // Only a proxy that was offered the password method gets the user name and password.
    if (OnSocksAuthState) OnSocksAuthState(this, socksAuthStart);
    SendAuthRequest();
  } else {
    SocksFail(socksAuthMethodError, "authentication method not acceptable");
  }
}

void TCustomSocksSocket::ReplyAuth() {
  if (rcvArea_[0] != 1) return SocksFail(socksVersionError, "socks version error");
  if (rcvCount_ < 2) return;
  if (rcvCount_ > 2) return SocksFail(socksProtocolError, "too much data available");
  if (rcvArea_[1] != 0) return SocksFail(socksAuthenticationFailed, "socks authentication failed");
  rcvCount_ = 0;
  if (OnSocksAuthState) OnSocksAuthState(this, socksAuthSuccess);
  SendConnectRequest();
}

void TCustomSocksSocket::ReplyConnect5() {
  static const char* const kReplyTexts[8] = {
      "general SOCKS server failure", "connection not allowed by ruleset", "network unreachable",
      "host unreachable", "connection refused", "time to live expired", "command not supported",
      "address type not supported"};
  if (rcvArea_[0] != 5) return SocksFail(socksVersionError, "socks version error");
  if (rcvCount_ < 2) return;
  int reply = rcvArea_[1];
  if (reply >= 1 && reply <= 8) return SocksFail(socksAuthMethodError + reply, kReplyTexts[reply - 1]);
  if (reply != 0) return SocksFail(socksUnassignedError, "unassigned error #" + sys::IntToStr(reply));
  if (rcvCount_ < 5) return;
  int type = rcvArea_[3];
  int need = type == 1 ? 10 : type == 3 ? 7 + rcvArea_[4] : 5;
  if (rcvCount_ < need) return;
  int portAt;
  if (type == 1) {
    boundAddr_ = sys::Format("%d.%d.%d.%d", rcvArea_[4], rcvArea_[5], rcvArea_[6], rcvArea_[7]);
    portAt = 8;
  } else if (type == 3) {
    boundAddr_.assign(reinterpret_cast<const char*>(rcvArea_ + 5), rcvArea_[4]);
    portAt = 5 + rcvArea_[4];
  } else {
    return SocksFail(socksAuthMethodError + 8, kReplyTexts[7]);
  }
  boundPort_ = sys::IntToStr((rcvArea_[portAt] << 8) | rcvArea_[portAt + 1]);
  Succeed(need);
}

void TCustomSocksSocket::ReplyConnect4() {
  if (rcvCount_ < 8) return;
  int keep = rcvCount_;
  rcvCount_ = 0;
  if (rcvArea_[0] != 0) return SocksFail(socksVersionError, "socks version error");
  switch (rcvArea_[1]) {
    case 90:
      rcvCount_ = keep;  // bytes behind the reply belong to the application
      return Succeed(8);
    case 91: return SocksFail(socksRejectedOrFailed, "request rejected or failed");
    case 92: return SocksFail(socksConnectionRefused, "connection refused");
    case 93: return SocksFail(socksAuthenticationFailed, "authentication failed");
    default: return SocksFail(socksUnassignedError, "unassigned error #" + sys::IntToStr(rcvArea_[1]));
  }
}

void TCustomSocksSocket::FireSessionClosed(uint16_t errCode) {
  if (socksState_ == kSocksAuth && OnSocksAuthState) OnSocksAuthState(this, socksAuthFailure);
  TCustomAsyncSocket::FireSessionClosed(errCode);
}

int32_t TCustomSocksSocket::GetRcvdCount() {
  if (heldCount_ > 0) return heldCount_;
  return TCustomAsyncSocket::GetRcvdCount();
}

int TCustomSocksSocket::RecvRaw(void* buffer, int size) {
  if (heldCount_ <= 0) return TCustomAsyncSocket::RecvRaw(buffer, size);
  int n = std::min(size, heldCount_);
  if (n <= 0) return 0;
  std::memcpy(buffer, rcvArea_ + heldPos_, n);
  heldPos_ += n;
  heldCount_ -= n;
  return n;
}
