// The stand-in for the service's server: it listens on a loopback address only, speaks the
// service protocol from the server's side (undoing the client's UTF-8 conversion), answers
// login, keep-alive, chat, friend search, requests and answers, presence, offline and
// waiting messages, trade tables and postings, and registration, and records every frame
// that arrives. Tests run it in-process on its own thread; ServiceServer.exe wraps it for
// the run command.
//
// Test use, in short:
//   stub::TServiceServer server;            // demo data: 10001/10002 "demo", friends
//   uint16_t port = server.Start();         // 127.0.0.1, a free port
//   ... client connects to 127.0.0.1:port, the test pumps messages ...
//   server.QueueReply(proto::Login, stub::Frame(proto::Login, body));   // script the next answer to a request
//   server.SendToAccount(10001, stub::Frame(proto::FriendOffline, stub::AccountBody(10002)));  // push a frame
//   PumpUntil([&] { return server.CountOf(proto::ChatSend) == 1; });
//   server.RequestsOf(proto::ChatSend)[0].Frame.Body     // the request body back in code page 936
#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/serviceserver/ServiceBodies.h"
#include "tools/serviceserver/ServiceData.h"
#include "tools/serviceserver/WireDecoder.h"

namespace stub {

// A frame that arrived from a client.
struct TRequest {
  int Connection = 0;    // 1, 2, ... in the order the connections were accepted
  uint32_t Account = 0;  // logged in on that connection when it arrived; 0 before login
  TDecodedFrame Frame;
};

class TServiceServer {
 public:
  explicit TServiceServer(TServiceData data = DemoData());
  ~TServiceServer();
  TServiceServer(const TServiceServer&) = delete;
  TServiceServer& operator=(const TServiceServer&) = delete;

  // Listens on `address` (127.x.y.z only) and `port` (0: a free one) and serves on its own
  // thread. Returns the port, or 0 when it cannot listen there.
  uint16_t Start(const std::string& address = "127.0.0.1", uint16_t port = 0);
  void Stop();
  uint16_t Port() const { return port_; }

  // Changes accounts, tables or the newest version under the server's lock.
  void Edit(const std::function<void(TServiceData&)>& change);
  // After a successful login the friend list, tables, stored requests and messages follow
  // this many milliseconds after the reply, once the client's windows hold the events.
  void SetFollowUpDelay(int ms) { followUpDelayMs_ = ms; }

  // The next request with number `requestProto` is answered with `bytes` (frames made with
  // Frame(), or any bytes at all) instead of the server's own handling; answers queue.
  void QueueReply(uint8_t requestProto, std::string bytes);
  // Sends bytes at once to a connection, or to where an account is logged in.
  bool SendTo(int connection, const std::string& bytes);
  bool SendToAccount(uint32_t account, const std::string& bytes);
  void Disconnect(int connection);

  // Consulting customers reach an account through its web page: arriving sends 28, leaving
  // 33, and a message 12 (kind 0), or it waits for the account's next login (35).
  void CustomerArrives(uint32_t account, uint32_t customer);
  void CustomerLeaves(uint32_t account, uint32_t customer);
  void CustomerMessage(uint32_t account, uint32_t customer, const std::string& text);

  std::vector<TRequest> Requests() const;
  std::vector<TRequest> RequestsOf(uint8_t proto) const;
  size_t CountOf(uint8_t proto) const;
  int Connections() const;  // accepted so far
  bool IsOnline(uint32_t account) const;
  std::vector<TTradeInfo> Trades() const;
  TServiceData Data() const;
  size_t SkippedBytes() const;  // bytes the decoder dropped to find a start byte

 private:
  struct TConn;
  void Run();
  void Accept();
  void Read(TConn& c);
  void Handle(TConn& c, const TDecodedFrame& f);
  void Login(TConn& c, const std::string& body);
  void Chat(TConn& c, const std::string& body);
  void Register(TConn& c, const std::string& body);
  void FindFriend(TConn& c, const std::string& body);
  void AskFriend(TConn& c, const std::string& body);
  void AcceptFriend(TConn& c, const std::string& body);
  void RefuseFriend(TConn& c, const std::string& body);
  void DeleteFriend(TConn& c, const std::string& body);
  void PostTrade(TConn& c, const std::string& body);
  void LoggedOut(uint32_t account);
  void Close(TConn& c);
  void SendLater(TConn& c, std::string bytes);
  void FlushLater();
  TConn* Where(uint32_t account);
  TConn* ById(int id);
  bool Put(TConn& c, const std::string& bytes);
  TFriendRecord RecordOf(const TAccount& a);

  mutable std::mutex mu_;
  TServiceData data_;
  std::vector<std::unique_ptr<TConn>> conns_;
  std::vector<TRequest> requests_;
  std::map<uint8_t, std::vector<std::string>> scripted_;
  std::map<uint32_t, std::vector<TStoredRequest>> storedRequests_;
  std::map<uint32_t, std::vector<TOfflineMessage>> offline_;
  std::map<uint32_t, std::vector<TWaitingMessage>> waiting_;
  std::map<uint32_t, std::vector<uint32_t>> customers_;
  struct TRegistration {
    TDateTime Time;
    std::string Company, Mac;
  };
  std::vector<TRegistration> registrations_;
  std::vector<TTradeInfo> trades_;
  size_t skipped_ = 0;
  int nextId_ = 1;
  int followUpDelayMs_ = 200;
  SOCKET listen_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace stub
