// A socket that stands for one connection: it can greet its peer with a banner, caches the
// peer's address when it adopts an accepted handle, and reports the end of each session
// exactly once.
// Contract: owned through its component owner (a server frees its client sockets); an
// adopted handle becomes the socket's to close. Runs on the thread that made it.
#pragma once
#include "socket/SyncSocket.h"

class TAsyncClientSocket : public TAsyncSocket {
  KARV_CLASS(TAsyncClientSocket, TAsyncSocket)
 public:
  using TAsyncSocket::TAsyncSocket;

  const std::string& Banner() const { return banner_; }
  void SetBanner(const std::string& v) { banner_ = v; }

  // Sends Banner and LineEnd when Banner is not empty.
  virtual void SendBanner();
  void Connect() override;
  void Dup(SOCKET handle) override;
  std::string GetPeerAddr() override;
  std::string GetPeerPort() override;

 protected:
  void FireSessionClosed(uint16_t errCode) override;

 private:
  std::string banner_;
  HWND server_ = nullptr;  // window of an owning server; none in this program
  std::string peerAddr_, peerPort_;
  bool sessionClosed_ = false;
};
