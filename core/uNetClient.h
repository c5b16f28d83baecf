// TBaseSvrClient: the one TCP connection of Client to the service's server. It sets up the
// client socket, reports connect and close through two events, wraps every outgoing body in
// a frame (start byte 0x64, protocol number, the body's length before conversion, the body
// converted from code page 936 to UTF-8) sent in pieces of at most 1000 bytes, and cuts the
// received bytes into frames for DispatchPacket. Everything runs on the GUI thread inside
// the socket's notifications.
// Contract: it owns its socket; the frames handed to DispatchPacket are valid only during the
// call.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/FrameBuffer.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Object.h"

class TAsyncClientSocket;

using TConnectEvent = TEvent<void(TObject* Sender, uint8_t Failed)>;

class TBaseSvrClient : public TObject, private IFrameSink {
  KARV_CLASS(TBaseSvrClient, TObject)
 public:
  static constexpr int32_t kSendChunk = 1000;

  TBaseSvrClient(const std::string& host, const std::string& port);
  ~TBaseSvrClient() override;

  // Starts connecting; the outcome arrives as OnConnect. The receive buffer starts empty.
  void Connect();
  // Frames the Len bytes at Data as protocol Proto and hands the frame to the socket; true
  // when all of it was handed over.
  bool SendData(uint8_t proto, const void* data, int32_t len);
  // Feeds received bytes to the frame cutter; the socket's data event calls it.
  void ReceiveBytes(const void* data, size_t n);

  // The login window sets its address and port and closes it; protocol 36 closes it.
  TAsyncClientSocket& Socket() { return *socket_; }
  const TFrameBuffer& RecvBuffer() const { return recv_; }

  std::string LastError;  // text of the last unknown protocol number
  TNotifyEvent OnClose;
  TConnectEvent OnConnect;  // Failed: 0 connected, 1 failed
  std::string Port;
  std::string Host;
  std::string SendStr;  // UTF-8 form of the body being sent
  int32_t SendTotal = 0;
  int32_t SendLeft = 0;
  std::string Status;  // "发送完成" once a frame has been handed over whole
  uint32_t NewAccount = 0;
  std::string OwnName;

 protected:
  // One complete frame of `held` bytes: header and body. The base logs the number as unknown.
  virtual void DispatchPacket(const uint8_t* frame, int32_t held);

 private:
  void OnFrame(const uint8_t* frame, size_t size) override;
  void OnOversizedFrame(uint8_t proto, uint32_t length) override;
  void SocketConnected(TObject* sender, uint16_t errCode);
  void SocketClosed(TObject* sender, uint16_t errCode);
  void SocketDataAvailable(TObject* sender, uint16_t errCode);
  void SocketBgException(TObject* sender, const std::exception& e, bool& canClose);

  std::unique_ptr<TAsyncClientSocket> socket_;
  TFrameBuffer recv_{*this};
};
