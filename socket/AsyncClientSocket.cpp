// The socket of one connection: banner, cached peer of an adopted handle, and one report of
// the end of each session.
#include "socket/AsyncClientSocket.h"

namespace {
// Posted to an owning server's window when a client's session ends.
constexpr UINT WM_CLIENT_CLOSED = WM_USER + 30;
}  // namespace

void TAsyncClientSocket::SendBanner() {
  if (banner_.empty()) return;
  SendStr(banner_);
  SendStr(LineEnd());
}

void TAsyncClientSocket::Connect() {
  sessionClosed_ = false;  // a new session gets its own report of its end
  peerAddr_.clear();
  peerPort_.clear();
  TAsyncSocket::Connect();
}

void TAsyncClientSocket::Dup(SOCKET handle) {
  sessionClosed_ = false;
  TAsyncSocket::Dup(handle);
  peerAddr_ = TAsyncSocket::GetPeerAddr();
  peerPort_ = TAsyncSocket::GetPeerPort();
}

std::string TAsyncClientSocket::GetPeerAddr() {
  return peerAddr_.empty() ? TAsyncSocket::GetPeerAddr() : peerAddr_;
}

std::string TAsyncClientSocket::GetPeerPort() {
  return peerPort_.empty() ? TAsyncSocket::GetPeerPort() : peerPort_;
}

void TAsyncClientSocket::FireSessionClosed(uint16_t errCode) {
  if (sessionClosed_) return;
  sessionClosed_ = true;
  if (server_) PostMessageA(server_, WM_CLIENT_CLOSED, errCode, reinterpret_cast<LPARAM>(this));
  TAsyncSocket::FireSessionClosed(errCode);
}
