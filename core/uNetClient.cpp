// Framing, sending in pieces and receiving for the server connection.
#include "core/uNetClient.h"

#include "core/WireFormat.h"
#include "core/uHelpers.h"
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"

TBaseSvrClient::TBaseSvrClient(const std::string& host, const std::string& port)
    : Port(port), Host(host), socket_(std::make_unique<TAsyncClientSocket>(nullptr)) {
  socket_->SetProto("tcp");
  socket_->SetPort(Port);
  socket_->SetAddr(Host);
  socket_->SetLineMode(false);
  socket_->OnSessionConnected = TSessionConnected(this, &TBaseSvrClient::SocketConnected);
  socket_->OnSessionClosed = TSessionClosed(this, &TBaseSvrClient::SocketClosed);
  socket_->OnDataAvailable = TDataAvailable(this, &TBaseSvrClient::SocketDataAvailable);
  socket_->OnBgException = TBgExceptionEvent(this, &TBaseSvrClient::SocketBgException);
}

TBaseSvrClient::~TBaseSvrClient() {
  // The socket's own teardown must not call back into a half-destroyed client.
  socket_->OnSessionConnected.Clear();
  socket_->OnSessionClosed.Clear();
  socket_->OnDataAvailable.Clear();
  socket_->OnBgException.Clear();
}

void TBaseSvrClient::Connect() {
  recv_.Clear();
  try {
    socket_->Connect();
  } catch (const std::exception& e) {
    // Without this the caller would wait for a connect event that never comes.
    WriteErrorLog(std::string(e.what()) + "TBaseSvrClient.Connect出错");
    if (OnConnect) OnConnect(this, 1);
  }
}

bool TBaseSvrClient::SendData(uint8_t proto, const void* data, int32_t len) {
  if (len < 0 || (len > 0 && !data)) return false;
  SendStr = sys::AnsiToUtf8(std::string_view(static_cast<const char*>(data), size_t(len)));
  std::string frame(SendStr.size() + kFrameHeader, '\0');
  auto* p = reinterpret_cast<uint8_t*>(frame.data());
  p[0] = kFrameStart;
  p[1] = proto;
  WriteU32(p + 2, uint32_t(len));
  std::copy(SendStr.begin(), SendStr.end(), frame.begin() + kFrameHeader);
  SendTotal = SendLeft = int32_t(frame.size());
  bool result = false;
  try {
    while (SendLeft > 0) {
      int32_t chunk = SendLeft < kSendChunk ? SendLeft : kSendChunk;
      if (socket_->Send(p + (SendTotal - SendLeft), chunk) < 0) {
        SendTotal = 0;  // not connected: the frame is abandoned
        return false;
      }
      result = true;
      SendLeft -= chunk;
    }
  } catch (const std::exception&) {
    SendTotal = 0;
    return false;
  }
  Status = "发送完成";
  SendTotal = 0;
  return result;
}

void TBaseSvrClient::ReceiveBytes(const void* data, size_t n) { recv_.Append(data, n); }

void TBaseSvrClient::OnFrame(const uint8_t* frame, size_t size) {
  try {
    DispatchPacket(frame, int32_t(size));
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TServiceClient.DispatchPacket出错");
  } catch (...) {
    WriteErrorLog("TServiceClient.DispatchPacket出错");
  }
}

void TBaseSvrClient::OnOversizedFrame(uint8_t proto, uint32_t length) {
  WriteErrorLog(sys::Format("协议号0x%s的帧长度%u超过上限%u，连接已关闭", sys::IntToHex(proto, 2).c_str(),
                            unsigned(length), unsigned(kMaxFrameBody)));
  try {
    socket_->Close();
  } catch (const std::exception&) {
  }
}

void TBaseSvrClient::DispatchPacket(const uint8_t* frame, int32_t held) {
  if (held < int32_t(kFrameHeader)) return;
  LastError = "不支持的协议号：0x" + sys::IntToHex(frame[1], 2);
  WriteErrorLog(LastError);
}

void TBaseSvrClient::SocketConnected(TObject*, uint16_t errCode) {
  if (errCode == 0) recv_.Clear();
  if (OnConnect) OnConnect(this, errCode == 0 ? 0 : 1);
}

void TBaseSvrClient::SocketClosed(TObject*, uint16_t) {
  if (OnClose) OnClose(this);
}

void TBaseSvrClient::SocketDataAvailable(TObject*, uint16_t) {
  std::string bytes = socket_->ReceiveStr();
  ReceiveBytes(bytes.data(), bytes.size());
}

void TBaseSvrClient::SocketBgException(TObject*, const std::exception&, bool&) {}
