// The far end of the socket tests: a plain blocking WinSock listener on 127.0.0.1 with an
// ephemeral port, whose script runs on its own thread with the accepted connection, so the
// socket under test can be driven by the real message loop on the test's thread.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace socket_test {

class LoopbackPeer {
 public:
  explicit LoopbackPeer(std::function<void(SOCKET)> script);
  ~LoopbackPeer();
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  std::string Port() const { return std::to_string(port_); }
  // True once the script has returned and the connection is closed.
  bool Done() const { return done_; }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
std::string UnusedPort();
// Blocking helpers for scripts; they stop early at the end of the stream.
std::string RecvN(SOCKET s, size_t n);
std::string RecvAll(SOCKET s);
void SendAll(SOCKET s, const std::string& bytes);
// The message of the ESocketException that `f` raises, or empty when it raises none.
std::string ErrorOf(const std::function<void()>& f);
// Bytes that show any reordering or loss: byte i is (i * 7 + i / 251) mod 256.
std::string Pattern(size_t n);

}  // namespace socket_test
