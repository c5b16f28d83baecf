// Blocking loopback peer of the socket tests.
#include "tests/socket/LoopbackPeer.h"

#include <algorithm>
#include <stdexcept>

#include "socket/AsyncSocket.h"

namespace socket_test {
namespace {

struct WinSockUser {
  WinSockUser() {
    WSADATA d;
    WSAStartup(MAKEWORD(2, 2), &d);
  }
  ~WinSockUser() { WSACleanup(); }
};

void StartWinSock() { static WinSockUser user; }

sockaddr_in Loopback(unsigned short port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

SOCKET ListenEphemeral(unsigned short& port) {
  StartWinSock();
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a = Loopback(0);
  if (s == INVALID_SOCKET || ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(s, 5) != 0)
    throw std::runtime_error("loopback listener failed");
  int len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return s;
}

}  // namespace

LoopbackPeer::LoopbackPeer(std::function<void(SOCKET)> script) {
  listener_ = ListenEphemeral(port_);
  thread_ = std::thread([this, script] {
    SOCKET c = ::accept(listener_, nullptr, nullptr);
    if (c != INVALID_SOCKET) {
      script(c);
      closesocket(c);
    }
    done_ = true;
  });
}

LoopbackPeer::~LoopbackPeer() {
  closesocket(listener_);  // ends an accept that never got a connection
  if (thread_.joinable()) thread_.join();
}

std::string UnusedPort() {
  unsigned short port;
  SOCKET s = ListenEphemeral(port);
  closesocket(s);
  return std::to_string(port);
}

std::string RecvN(SOCKET s, size_t n) {
  std::string out;
  char buf[65536];
  while (out.size() < n) {
    int got = ::recv(s, buf, (int)std::min(sizeof buf, n - out.size()), 0);
    if (got <= 0) break;
    out.append(buf, got);
  }
  return out;
}

std::string RecvAll(SOCKET s) { return RecvN(s, (size_t)-1 / 2); }

void SendAll(SOCKET s, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    int n = ::send(s, bytes.data() + done, (int)(bytes.size() - done), 0);
    if (n <= 0) return;
    done += n;
  }
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ESocketException& e) {
    return e.Message();
  }
  return "";
}

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = (char)((i * 7 + i / 251) & 0xFF);
  return s;
}

}  // namespace socket_test
