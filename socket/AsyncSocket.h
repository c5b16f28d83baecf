// A non-blocking WinSock socket driven by window messages. Each socket owns a hidden window;
// WinSock posts connect, read, write, accept and close notifications and the replies of name
// look-ups to it, so every event runs on the thread that made the socket, inside its message
// loop, and no operation blocks. Bytes that WinSock does not take at once wait in a queue of
// TBuffer blocks until WinSock reports that it can write again. TCP client and server and UDP.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"
#include "socket/SocketBuffer.h"
#include "socket/SocketNames.h"

class ESocketException : public Exception {
  using Exception::Exception;
};

enum TSocketState {
  wsInvalidState, wsOpened, wsBound, wsConnecting, wsSocksConnected,
  wsConnected, wsAccepting, wsListening, wsClosed
};
enum TAsyncSocketOption { asoNoReceiveLoop, asoTcpNoDelay, asoSIO_RCVALL };
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };

// A set of TAsyncSocketOption.
class TAsyncSocketOptions {
 public:
  TAsyncSocketOptions() = default;
  TAsyncSocketOptions(std::initializer_list<TAsyncSocketOption> options) {
    for (auto o : options) Include(o);
  }
  bool Contains(TAsyncSocketOption o) const { return bits_ & (1u << o); }
  void Include(TAsyncSocketOption o) { bits_ |= 1u << o; }
  void Exclude(TAsyncSocketOption o) { bits_ &= ~(1u << o); }
  bool operator==(const TAsyncSocketOptions&) const = default;

 private:
  unsigned bits_ = 0;
};

// Messages of the hidden window.
constexpr UINT WM_ASYNCSELECT = WM_USER + 1;          // wParam socket, lParam event | error << 16
constexpr UINT WM_ASYNCGETHOSTBYNAME = WM_USER + 2;   // wParam look-up handle, error in high word
constexpr UINT WM_ASYNCGETHOSTBYADDR = WM_USER + 3;
constexpr UINT WM_CLOSE_DELAYED = WM_USER + 4;
constexpr UINT WM_FREE_DELAYED = WM_USER + 5;
constexpr UINT WM_TRIGGER_EXCEPTION = WM_USER + 6;
constexpr UINT WM_TRIGGER_DATA_AVAILABLE = WM_USER + 20;

// Result of WaitForDone on time-out or when the program is ending.
constexpr int32_t WSA_WSOCKET_TIMEOUT = 12001;

using TSessionConnected = TEvent<void(TObject* Sender, uint16_t ErrCode)>;
using TSessionClosed = TEvent<void(TObject* Sender, uint16_t ErrCode)>;
using TDataAvailable = TEvent<void(TObject* Sender, uint16_t ErrCode)>;
using TDataSent = TEvent<void(TObject* Sender, uint16_t ErrCode)>;
using TSessionAvailable = TEvent<void(TObject* Sender, uint16_t ErrCode)>;
using TDnsLookupDone = TEvent<void(TObject* Sender, uint16_t ErrCode)>;
using TSendData = TEvent<void(TObject* Sender, int32_t BytesSent)>;
using TChangeState = TEvent<void(TObject* Sender, TSocketState OldState, TSocketState NewState)>;
using TBgExceptionEvent = TEvent<void(TObject* Sender, const std::exception& E, bool& CanClose)>;

class TCustomAsyncSocket : public TComponent {
  KARV_CLASS(TCustomAsyncSocket, TComponent)
 public:
  static constexpr int32_t kBlockSize = 1460;

  explicit TCustomAsyncSocket(TComponent* owner);
  ~TCustomAsyncSocket() override;

  // Remote end, protocol and local end; changeable only while wsClosed.
  const std::string& Addr() const { return addrStr_; }
  void SetAddr(const std::string& value);
  const std::string& Port() const { return portStr_; }
  virtual void SetPort(const std::string& value);
  const std::string& Proto() const { return protoStr_; }
  virtual void SetProto(const std::string& value);
  const std::string& LocalAddr() const { return localAddr_; }
  void SetLocalAddr(const std::string& value);
  const std::string& LocalPort() const { return localPortStr_; }
  void SetLocalPort(const std::string& value);

  std::string PeerAddr() { return GetPeerAddr(); }
  std::string PeerPort() { return GetPeerPort(); }
  const std::string& DnsResult() const { return dnsResult_; }
  const TStringList& DnsResultList() const { return dnsResultList_; }
  TSocketState State() const { return state_; }
  int64_t ReadCount() const { return readCount_; }
  int32_t RcvdCount() { return GetRcvdCount(); }
  int32_t LastError() const { return lastError_; }
  // The socket handle (INVALID_SOCKET when none) and the hidden window.
  SOCKET HSocket() const { return hSocket_; }
  HWND Handle() const { return window_; }

  bool MultiThreaded() const { return multiThreaded_; }
  void SetMultiThreaded(bool v) { multiThreaded_ = v; }
  bool MultiCast() const { return multiCast_; }
  void SetMultiCast(bool v) { multiCast_ = v; }
  const std::string& MultiCastAddrStr() const { return multiCastAddrStr_; }
  void SetMultiCastAddrStr(const std::string& v) { multiCastAddrStr_ = v; }
  int MultiCastIpTTL() const { return multiCastIpTTL_; }
  void SetMultiCastIpTTL(int v) { multiCastIpTTL_ = v; }
  bool ReuseAddr() const { return reuseAddr_; }
  void SetReuseAddr(bool v) { reuseAddr_ = v; }
  TAsyncSocketOptions ComponentOptions() const { return options_; }
  void SetComponentOptions(TAsyncSocketOptions v) { options_ = v; }
  int ListenBacklog() const { return listenBacklog_; }
  void SetListenBacklog(int v) { listenBacklog_ = v; }
  // The WinSock version asked at start-up (1.1); process-wide, fixed once WinSock is loaded.
  uint8_t ReqVerLow() const;
  void SetReqVerLow(uint8_t v);
  uint8_t ReqVerHigh() const;
  void SetReqVerHigh(uint8_t v);
  int FlushTimeout() const { return flushTimeout_; }
  void SetFlushTimeout(int v) { flushTimeout_ = v; }
  TSocketSendFlags SendFlags() const;
  void SetSendFlags(TSocketSendFlags v);
  TSocketLingerOnOff LingerOnOff() const { return lingerOnOff_; }
  void SetLingerOnOff(TSocketLingerOnOff v) { lingerOnOff_ = v; }
  int LingerTimeout() const { return lingerTimeout_; }
  void SetLingerTimeout(int v) { lingerTimeout_ = v; }

  // Events; each fires only when assigned.
  TSessionConnected OnSessionConnected;
  TSessionClosed OnSessionClosed;
  TDataAvailable OnDataAvailable;
  TDataSent OnDataSent;
  TSendData OnSendData;
  TSessionAvailable OnSessionAvailable;
  TChangeState OnChangeState;
  TDnsLookupDone OnDnsLookupDone;
  TNotifyEvent OnError;  // when assigned, failures fire it instead of raising
  TBgExceptionEvent OnBgException;

  // Starts a connection; the result comes as OnSessionConnected.
  virtual void Connect();
  // Ends the session; OnSessionClosed follows.
  virtual void Close();
  // Close, or destroy the socket, later from the message loop; PostFree is for sockets made
  // with New (owned or not), never for one held by a unique_ptr or on the stack.
  virtual void PostClose();
  virtual void PostFree();
  // Drops the queue and closes without shutdown.
  virtual void Abort();
  // Sends the queue, pumping messages, until it is empty.
  virtual void Flush();
  virtual void DrainUntilClosed();
  virtual void Listen();
  // Accepts an incoming connection of a listening socket; returns its handle.
  virtual SOCKET Accept();
  // Reads up to `size` bytes; returns the count, or a negative value on failure.
  virtual int Receive(void* buffer, int size);
  // The bytes waiting (at least an attempt of 255), as a byte string.
  virtual std::string ReceiveStr();
  virtual int ReceiveFrom(void* buffer, int size, sockaddr_in& from, int& fromLen);
  // Queues and sends `len` bytes; returns `len`, 0 for nothing, or -1 when not connected.
  virtual int32_t Send(const void* data, int32_t len);
  // Datagram send without the queue.
  virtual int SendTo(const sockaddr_in& dest, int destLen, const void* data, int len);
  virtual int32_t SendStr(const std::string& text);
  virtual void DnsLookup(const std::string& hostName);
  virtual void ReverseDnsLookup(const std::string& hostAddr);
  virtual void CancelDnsLookup();
  virtual std::string GetPeerAddr();
  virtual std::string GetPeerPort();
  virtual int GetPeerName(sockaddr_in& name, int len);
  virtual std::string GetLocalPortText();
  virtual std::string GetLocalAddrText();
  static bool TimeValIsSet(const timeval& tv);
  static void TimeValClear(timeval& tv);
  static bool TimeValEqual(const timeval& a, const timeval& b, bool equal);
  virtual int GetSockName(sockaddr_in& name, int& len);
  // Adopts a connected handle (one returned by Accept).
  virtual void Dup(SOCKET handle);
  virtual void Shutdown(int how);
  virtual void Pause();
  virtual void Resume();
  // Dispatches what is waiting: through the application unless MultiThreaded, else with the
  // socket's own loop, which stops at a quit message and remembers it.
  virtual void ProcessMessages();
  // True once the socket's own pump met a quit message.
  bool Terminated() const { return terminated_; }

 protected:
  friend LRESULT CALLBACK SocketWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void AllocateSocketWindow();
  virtual void DeallocateSocketWindow();
  virtual void TryToSend();
  virtual void ResetToDefaults();
  virtual void CloseSocket(bool shut, uint16_t errCode);
  virtual void AbortWithError(uint16_t errCode);
  virtual int32_t GetRcvdCount();
  virtual bool BindSocket();
  // One send to WinSock. OnSendData is fired by its callers once their queue is up to date.
  virtual int RawSend(const void* data, int len);
  virtual void ReportErrorFmt(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  virtual void ReportError(const std::string& text);
  virtual void HandleBgException(const std::exception& e);
  virtual bool FireDataAvailable(uint16_t errCode);
  virtual void FireSessionAvailable(uint16_t errCode);
  // The connect step's own event; the SOCKS layer starts its negotiation here.
  virtual void FireConnected(uint16_t errCode);
  virtual void FireSessionConnected(uint16_t errCode);
  virtual void FireSessionClosed(uint16_t errCode);
  virtual void FireDataSent(uint16_t errCode);
  virtual void FireChangeState(TSocketState oldState, TSocketState newState);
  virtual void FireDnsLookupDone(uint16_t errCode);
  virtual void FireError();
  virtual int RecvRaw(void* buffer, int size);
  virtual int RecvFromRaw(void* buffer, int size, sockaddr_in& from, int& fromLen);
  virtual void HandleFdConnect(uint16_t errCode);
  virtual void HandleFdRead(uint16_t errCode);
  virtual void HandleFdWrite(uint16_t errCode);
  virtual void HandleFdAccept(uint16_t errCode);
  virtual void HandleFdClose(uint16_t errCode);
  virtual void MarkDupConnected();
  virtual void QueueSendData(const void* data, int32_t len);

  // The WinSock error path: WSAGetLastError, a connection-loss code ends the session, the
  // code goes to LastError and the text "Error N in function NAME" to ReportError.
  void SocketError(const char* callName);
  void ChangeState(TSocketState newState);
  void ReceiveLoop(TAsyncSocketOptions options, uint16_t errCode);
  bool SetLingerOption();
  void DiscardSendQueue();
  bool DestroyingSocket() const { return destroying_; }
  // Whether the handle s, seen when session `serial` ran, is still the socket's session:
  // WinSock hands out a closed handle's value again, so a handler that closed and connected
  // again may hold a new session under the same value.
  bool SameSession(SOCKET s, uint32_t serial) const { return hSocket_ == s && session_ == serial; }

  // Shared with the SOCKS layer, which points the socket address at its proxy.
  sockaddr_in sin_{};
  bool addrAssigned_ = false, addrResolved_ = false;
  bool portAssigned_ = false, portResolved_ = false;
  bool protoAssigned_ = true, protoResolved_ = false;
  bool localPortResolved_ = false;
  u_short portNum_ = 0;      // host order
  u_short localPortNum_ = 0;
  int proto_ = IPPROTO_TCP;
  int type_ = SOCK_STREAM;
  SOCKET hSocket_ = INVALID_SOCKET;
  TSocketState state_ = wsClosed;
  int32_t lastError_ = 0;
  bool closeReported_ = false;
  bool terminated_ = false;
  int32_t timeout_ = 0;  // milliseconds a synchronous wait may take; 0 = no limit
  uint32_t timeStop_ = 0;
  uint32_t session_ = 0;  // counts the handles the socket made or adopted

 private:
  void HandleAsyncSelect(WPARAM wParam, LPARAM lParam);
  // Connect's steps after the handle exists; false when one failed (and was reported).
  bool StartSession();
  bool FailStep(const char* callName);  // SocketError, then false
  void FireSendData(int32_t sent);  // OnSendData for a positive count
  // Closes a handle that Connect made and could not bring up, without any session event.
  void AbandonHandle(SOCKET made, uint32_t serial);
  void HandleDnsReply(UINT msg, WPARAM wParam, LPARAM lParam);
  void StartDnsLookup(bool reverse, const std::string& text);
  void ResolveLocalPort();
  void ResolveRemote();  // Port and Addr into the socket address
  void RemoveSent(int32_t n);
  bool QueueEmpty() const;

  std::string addrStr_, portStr_, protoStr_ = "tcp";
  std::string localAddr_ = "0.0.0.0", localPortStr_ = "0";
  std::string dnsResult_;
  TStringList dnsResultList_;
  HANDLE dnsLookupHandle_ = nullptr;
  char dnsReply_[MAXGETHOSTSTRUCT]{};
  bool dnsEarlyReply_ = false;
  UINT earlyMsg_ = 0;
  WPARAM earlyWParam_ = 0;
  LPARAM earlyLParam_ = 0;
  int sendFlags_ = 0;
  HWND window_ = nullptr;
  SOCKET lastAccepted_ = INVALID_SOCKET;
  std::deque<std::unique_ptr<TBuffer>> queue_;
  std::vector<uint8_t> gather_;  // pieces of several blocks handed to one send
  bool allSent_ = true;
  TSocketLingerOnOff lingerOnOff_ = wsLingerOn;
  int lingerTimeout_ = 0;
  int listenBacklog_ = 5;
  int64_t readCount_ = 0;
  bool paused_ = false;
  int flushTimeout_ = 60;
  bool multiThreaded_ = false;
  bool multiCast_ = false;
  std::string multiCastAddrStr_;
  int multiCastIpTTL_ = 1;
  bool reuseAddr_ = false;
  TAsyncSocketOptions options_;
  bool readBufferFull_ = false;
  long selectEvents_ = 0;
  int handledEvent_ = 0;
  bool destroying_ = false;
  // Carried by the socket's own close-later and free-later messages: the hidden window is a
  // top-level window, so any program (a broadcast of a WM_USER number, say) can post those
  // numbers to it, and a free-later it did not ask for would destroy a socket that another
  // object owns.
  LPARAM postToken_ = 0;
};
