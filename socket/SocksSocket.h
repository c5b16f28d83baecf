// SOCKS 4, 4A and 5 (with user name and password) for TCP clients: the socket connects to the
// proxy, negotiates the connection to Addr:Port, and only then counts as connected. Without
// a SOCKS server every operation goes straight to the asynchronous socket.
// Contract: as the asynchronous socket below it: owned by its component owner, runs on the
// thread that made it.
#pragma once
#include "socket/AsyncSocket.h"

enum TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };
enum TSocksAuthState { socksAuthStart, socksAuthSuccess, socksAuthFailure, socksAuthNotRequired };

using TSocksErrorEvent = TEvent<void(TObject* Sender, int32_t Error, const std::string& Msg)>;
using TSocksAuthStateEvent = TEvent<void(TObject* Sender, TSocksAuthState AuthState)>;

// Error codes of the negotiation, passed to OnSocksError and OnSessionConnected.
constexpr int32_t socksProtocolError = 20001;
constexpr int32_t socksVersionError = 20002;
constexpr int32_t socksAuthMethodError = 20003;
constexpr int32_t socksGeneralFailure = 20004;  // SOCKS 5 reply codes 1..8 are 20003 + code
constexpr int32_t socksConnectionRefused = 20008;
constexpr int32_t socksUnassignedError = 20012;
constexpr int32_t socksInternalError = 20013;
constexpr int32_t socksAuthenticationFailed = 20015;
constexpr int32_t socksRejectedOrFailed = 20016;

class TCustomSocksSocket : public TCustomAsyncSocket {
  KARV_CLASS(TCustomSocksSocket, TCustomAsyncSocket)
 public:
  explicit TCustomSocksSocket(TComponent* owner);

  const std::string& SocksServer() const { return socksServer_; }
  virtual void SetSocksServer(const std::string& value);
  const std::string& SocksPort() const { return socksPort_; }
  virtual void SetSocksPort(const std::string& value);
  // "4", "4A" or "5".
  const std::string& SocksLevel() const { return socksLevel_; }
  void SetSocksLevel(const std::string& value);
  const std::string& SocksUsercode() const { return socksUsercode_; }
  void SetSocksUsercode(const std::string& v) { socksUsercode_ = v; }
  const std::string& SocksPassword() const { return socksPassword_; }
  void SetSocksPassword(const std::string& v) { socksPassword_ = v; }
  TSocksAuthentication SocksAuthentication() const { return socksAuthentication_; }
  void SetSocksAuthentication(TSocksAuthentication v) { socksAuthentication_ = v; }
  // What a SOCKS 5 server reported as the bound end of the connection.
  const std::string& BoundAddr() const { return boundAddr_; }
  const std::string& BoundPort() const { return boundPort_; }

  TSessionConnected OnSocksConnected;
  TSocksErrorEvent OnSocksError;
  TSocksAuthStateEvent OnSocksAuthState;

  void Connect() override;
  void Listen() override;

 protected:
  virtual void FireSocksConnected(uint16_t errCode);
  virtual void FireSocksError(int32_t error, const std::string& msg);

  void ResetToDefaults() override;
  void FireConnected(uint16_t errCode) override;
  void FireSessionClosed(uint16_t errCode) override;
  bool FireDataAvailable(uint16_t errCode) override;
  int32_t GetRcvdCount() override;
  int RecvRaw(void* buffer, int size) override;

  bool Negotiating() const { return socksState_ != kSocksData; }

 private:
  enum { kSocksData = 0, kSocksMethods = 1, kSocksAuth = 2, kSocksConnect = 3 };
  // A reply of SOCKS 5 may carry a 255-byte name: the area holds the longest one.
  static constexpr int kRcvAreaSize = 512;

  void SendConnectRequest();
  void SendAuthRequest();
  void SocksFail(int32_t code, const std::string& msg);
  void ReplyMethods();
  void ReplyAuth();
  void ReplyConnect5();
  void ReplyConnect4();
  void Succeed(int replyLen);

  std::string socksServer_, socksPort_;
  bool socksServerAssigned_ = false, socksPortAssigned_ = false;
  std::string socksLevel_ = "5";
  std::string socksUsercode_, socksPassword_;
  TSocksAuthentication socksAuthentication_ = socksNoAuthentication;
  int socksState_ = kSocksData;
  uint8_t authMethod_ = 0;
  uint8_t rcvArea_[kRcvAreaSize]{};
  int rcvCount_ = 0;
  std::string boundAddr_, boundPort_;
  u_short remotePort_ = 0;  // host order
  int heldCount_ = 0;       // bytes that arrived behind the proxy's reply
  int heldPos_ = 0;
};
