// The listening side of the asynchronous socket (TCP, UDP and raw), adopting accepted
// handles, and the address texts of both ends.
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncSocket.h"
#include "socket/WinSockApi.h"

namespace {

constexpr long kListenEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE;  // 0x2B
constexpr long kDupEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;    // 0x33
constexpr DWORD kSioRcvAll = 0x98000001;

struct MulticastRequest {  // ip_mreq of WinSock 1.1
  in_addr group;
  in_addr iface;
};

}  // namespace

void TCustomAsyncSocket::Listen() {
  if (!portAssigned_) {
    wsapi::WSASetLastError(WSAEINVAL);
    return SocketError("listen: port not assigned");
  }
  if (!protoAssigned_) {
    wsapi::WSASetLastError(WSAEINVAL);
    return SocketError("listen: protocol not assigned");
  }
  if (!addrAssigned_) {
    wsapi::WSASetLastError(WSAEINVAL);
    return SocketError("listen: address not assigned");
  }
  if (!protoResolved_) {
    if (sys::LowerCase(protoStr_.substr(0, 4)) == "raw_") {
      type_ = SOCK_RAW;
      proto_ = SocketResolveProto(protoStr_.substr(4, 10));
    } else {
      proto_ = SocketResolveProto(protoStr_);
      type_ = proto_ == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
    }
    protoResolved_ = true;
  }
  ResolveRemote();
  DiscardSendQueue();

  hSocket_ = wsapi::socket(AF_INET, type_, proto_);
  if (hSocket_ == INVALID_SOCKET) return SocketError("socket");
  ++session_;
  auto failAndClose = [this](const char* call) {
    SOCKET s = hSocket_;
    int e = wsapi::WSAGetLastError();
    wsapi::closesocket(s);
    hSocket_ = INVALID_SOCKET;
    wsapi::WSASetLastError(e);
    SocketError(call);
  };
  BOOL on = TRUE;
  if (type_ == SOCK_DGRAM && reuseAddr_ &&
      wsapi::setsockopt(hSocket_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on) ==
          SOCKET_ERROR)
    return failAndClose("setsockopt(SO_REUSEADDR)");
  if (wsapi::bind(hSocket_, reinterpret_cast<sockaddr*>(&sin_), sizeof sin_) != 0) return failAndClose("Bind");
  ChangeState(wsBound);

  if (type_ == SOCK_STREAM) {
    if (wsapi::listen(hSocket_, listenBacklog_) != 0) return SocketError("Listen");
    ChangeState(wsListening);
  } else if (type_ == SOCK_RAW) {
    if (options_.Contains(asoSIO_RCVALL)) {
      DWORD value = 1, returned = 0;
      if (wsapi::WSAIoctl(hSocket_, kSioRcvAll, &value, sizeof value, nullptr, 0, &returned, nullptr, nullptr) != 0)
        return failAndClose("WSAIoctl(SIO_RCVALL)");
    }
    ChangeState(wsListening);
    ChangeState(wsConnected);
    FireSessionConnected(0);
  } else if (type_ == SOCK_DGRAM) {
    if (multiCast_) {
      MulticastRequest mreq{};
      mreq.group.s_addr = wsapi::inet_addr(multiCastAddrStr_.c_str());
      mreq.iface.s_addr = sin_.sin_addr.s_addr;
      if (wsapi::setsockopt(hSocket_, IPPROTO_IP, wsapi::kIpAddMembership, reinterpret_cast<const char*>(&mreq),
                            sizeof mreq) == SOCKET_ERROR)
        return SocketError("setsockopt(IP_ADD_MEMBERSHIP)");
    }
    ChangeState(wsListening);
    ChangeState(wsConnected);
    FireSessionConnected(0);
  } else {
    return ReportError("Listen: unexpected protocol.");
  }
  if (hSocket_ == INVALID_SOCKET) return;  // a handler closed it
  selectEvents_ = kListenEvents;
  if (wsapi::WSAAsyncSelect(hSocket_, window_, WM_ASYNCSELECT, selectEvents_) != 0) SocketError("WSAASyncSelect");
}

SOCKET TCustomAsyncSocket::Accept() {
  if (state_ != wsListening) {
    wsapi::WSASetLastError(WSAEINVAL);
    SocketError("not a listening socket");
    return INVALID_SOCKET;
  }
  lastAccepted_ = wsapi::accept(hSocket_, nullptr, nullptr);
  if (lastAccepted_ == INVALID_SOCKET) SocketError("Accept");
  return lastAccepted_;
}

void TCustomAsyncSocket::Dup(SOCKET handle) {
  if (handle == 0 || handle == INVALID_SOCKET) {
    wsapi::WSASetLastError(WSAEINVAL);
    return SocketError("Dup");
  }
  if (hSocket_ != INVALID_SOCKET) {
    if (wsapi::closesocket(hSocket_) != 0) return SocketError("Dup (closesocket)");
    hSocket_ = INVALID_SOCKET;
    ChangeState(wsClosed);
  }
  hSocket_ = handle;
  ++session_;
  if (!SetLingerOption()) return;
  selectEvents_ = kDupEvents;
  if (wsapi::WSAAsyncSelect(hSocket_, window_, WM_ASYNCSELECT, selectEvents_) != 0) return SocketError("WSAAsyncSelect");
  MarkDupConnected();
}

void TCustomAsyncSocket::MarkDupConnected() { ChangeState(wsConnected); }

// ---- addresses ----

std::string TCustomAsyncSocket::GetPeerAddr() {
  if (state_ != wsConnected) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (wsapi::getpeername(hSocket_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    SocketError("GetPeerAddr");
    return "error";
  }
  return wsapi::inet_ntoa(a.sin_addr);
}

std::string TCustomAsyncSocket::GetPeerPort() {
  if (state_ != wsConnected) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (wsapi::getpeername(hSocket_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    SocketError("GetPeerPort");
    return "error";
  }
  return sys::IntToStr(wsapi::ntohs(a.sin_port));
}

int TCustomAsyncSocket::GetPeerName(sockaddr_in& name, int len) {
  if (state_ != wsConnected) return -1;
  return wsapi::getpeername(hSocket_, reinterpret_cast<sockaddr*>(&name), &len);
}

int TCustomAsyncSocket::GetSockName(sockaddr_in& name, int& len) {
  return wsapi::getsockname(hSocket_, reinterpret_cast<sockaddr*>(&name), &len);
}

std::string TCustomAsyncSocket::GetLocalAddrText() {
  if (state_ != wsBound && state_ != wsConnected && state_ != wsListening) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (GetSockName(a, len) != 0) return "error";
  return wsapi::inet_ntoa(a.sin_addr);
}

std::string TCustomAsyncSocket::GetLocalPortText() {
  if (state_ != wsBound && state_ != wsConnected && state_ != wsListening) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (GetSockName(a, len) != 0) return "error";
  return sys::IntToStr(wsapi::ntohs(a.sin_port));
}
