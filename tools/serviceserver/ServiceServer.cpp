// The stand-in server: one thread, blocking WinSock sockets watched with select.
#include "tools/serviceserver/ServiceServer.h"

#include <ws2tcpip.h>

#include <algorithm>

#include "core/WireFormat.h"
#include "platform/rtl/SysUtils.h"

namespace stub {

struct TServiceServer::TConn {
  int Id = 0;
  SOCKET Sock = INVALID_SOCKET;
  TWireDecoder Decoder;
  uint32_t Account = 0;
  std::vector<std::pair<ULONGLONG, std::string>> Later;
};

namespace {

struct WinSockUser {
  WinSockUser() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
  }
  ~WinSockUser() { WSACleanup(); }
};

// Four version parts of "a.b.c.d"; missing parts are 0.
std::vector<int> VersionParts(const std::string& text) {
  std::vector<int> v;
  size_t pos = 0;
  while (v.size() < 4 && pos <= text.size()) {
    size_t dot = text.find('.', pos);
    std::string part = text.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos);
    v.push_back(sys::StrToIntDef(part, 0));
    if (dot == std::string::npos) break;
    pos = dot + 1;
  }
  v.resize(4, 0);
  return v;
}

}  // namespace

TServiceServer::TServiceServer(TServiceData data) : data_(std::move(data)) {}

TServiceServer::~TServiceServer() { Stop(); }

uint16_t TServiceServer::Start(const std::string& address, uint16_t port) {
  static WinSockUser winsock;
  in_addr ip{};
  if (inet_pton(AF_INET, address.c_str(), &ip) != 1 || (ntohl(ip.s_addr) >> 24) != 127) return 0;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return 0;
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr = ip;
  sa.sin_port = htons(port);
  int len = sizeof sa;
  if (bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(s, 8) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
    closesocket(s);
    return 0;
  }
  listen_ = s;
  port_ = ntohs(sa.sin_port);
  stop_ = false;
  thread_ = std::thread(&TServiceServer::Run, this);
  return port_;
}

void TServiceServer::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mu_);
  for (auto& c : conns_) closesocket(c->Sock);
  conns_.clear();
  if (listen_ != INVALID_SOCKET) closesocket(listen_);
  listen_ = INVALID_SOCKET;
}

void TServiceServer::Run() {
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listen_, &ready);
    {
      std::lock_guard<std::mutex> lock(mu_);
      for (auto& c : conns_) FD_SET(c->Sock, &ready);
    }
    timeval tv{0, 10000};
    int n = select(0, &ready, nullptr, nullptr, &tv);
    std::lock_guard<std::mutex> lock(mu_);
    if (n > 0) {
      if (FD_ISSET(listen_, &ready)) Accept();
      std::vector<int> ids;
      for (auto& c : conns_)
        if (FD_ISSET(c->Sock, &ready)) ids.push_back(c->Id);
      for (int id : ids)
        if (TConn* c = ById(id)) Read(*c);
    }
    FlushLater();
  }
}

void TServiceServer::Accept() {
  SOCKET s = accept(listen_, nullptr, nullptr);
  if (s == INVALID_SOCKET) return;
  auto c = std::make_unique<TConn>();
  c->Id = nextId_++;
  c->Sock = s;
  conns_.push_back(std::move(c));
}

void TServiceServer::Read(TConn& c) {
  char buf[65536];
  int n = recv(c.Sock, buf, sizeof buf, 0);
  if (n <= 0) {
    Close(c);
    return;
  }
  std::vector<TDecodedFrame> frames;
  size_t before = c.Decoder.Skipped();
  c.Decoder.Feed(buf, size_t(n), frames);
  skipped_ += c.Decoder.Skipped() - before;
  int id = c.Id;
  for (const TDecodedFrame& f : frames) {
    TConn* still = ById(id);  // a handler may have closed it
    if (!still) break;
    requests_.push_back({id, still->Account, f});
    Handle(*still, f);
  }
}

void TServiceServer::Handle(TConn& c, const TDecodedFrame& f) {
  auto script = scripted_.find(f.Proto);
  if (script != scripted_.end() && !script->second.empty()) {
    std::string bytes = std::move(script->second.front());
    script->second.erase(script->second.begin());
    Put(c, bytes);
    return;
  }
  try {
    switch (f.Proto) {
      case proto::Login: Login(c, f.Body); break;
      case proto::ChatSend: Chat(c, f.Body); break;
      case proto::Register: Register(c, f.Body); break;
      case proto::FindFriend: FindFriend(c, f.Body); break;
      case proto::AddFriendRequest: AskFriend(c, f.Body); break;
      case proto::FriendAccept: AcceptFriend(c, f.Body); break;
      case proto::FriendRefuse: RefuseFriend(c, f.Body); break;
      case proto::DeleteFriend: DeleteFriend(c, f.Body); break;
      case proto::TradeSave: PostTrade(c, f.Body); break;
      default: break;  // KeepAlive keeps the connection alive; others are only recorded
    }
  } catch (const EMalformedBody&) {
    // recorded like any request; a server does not answer what it cannot read
  }
}

TFriendRecord TServiceServer::RecordOf(const TAccount& a) {
  TFriendRecord r;
  r.SetCompanyName(a.Company);
  r.SetNumberText(sys::IntToStr(a.Number));
  r.SetNumber(a.Number);
  r.SetNickName(a.NickName);
  r.SetWebAddress(a.WebAddress);
  r.SetEmail(a.Email);
  r.SetState(Where(a.Number) ? 1 : 0);
  r.SetFlags(a.Flags);
  return r;
}

void TServiceServer::Login(TConn& c, const std::string& body) {
  TBodyReader r(body);
  std::string user = r.WireString();
  std::string hash = r.WireString();
  int version[4];
  for (int& part : version) part = r.U8();

  TLoginReply reply;
  TAccount* a = data_.Find(user);
  reply.Result = !a ? 1 : a->PassHash != hash ? 2 : a->LoginResult;
  if (reply.Result != 0) {
    Put(c, Frame(proto::Login, LoginReplyBody(reply)));
    return;
  }
  if (TConn* old = Where(a->Number); old && old != &c) {
    Put(*old, Frame(proto::KickedOff, ""));
    old->Account = 0;  // replaced, not gone: friends see no offline notice
    Close(*old);
  }
  bool wasOnline = c.Account == a->Number;
  c.Account = a->Number;
  std::vector<int> newest = VersionParts(data_.NewestVersion);
  bool older = false;
  for (int i = 0; i < 4 && !data_.NewestVersion.empty(); ++i)
    if (version[i] != (newest[i] & 0xFF)) {
      older = version[i] < (newest[i] & 0xFF);
      break;
    }
  reply.OwnName = a->NickName;
  reply.Value = a->Number;
  reply.UpdateFlag = older ? 1 : 0;
  reply.SiteUrl = a->WebAddress;
  reply.NewestVersion = data_.NewestVersion;
  reply.Company = a->Company;
  reply.Phone = a->Phone;
  reply.Fax = a->Fax;
  reply.Email = a->Email;
  Put(c, Frame(proto::Login, LoginReplyBody(reply)));

  std::vector<TFriendRecord> friends;
  for (uint32_t f : a->Friends)
    if (TAccount* fa = data_.Find(f)) friends.push_back(RecordOf(*fa));
  SendLater(c, Frame(proto::FriendList, FriendListBody(friends)));
  SendLater(c, Frame(proto::StateInfo, RegionTablesBody(data_.Regions)));
  SendLater(c, Frame(proto::CategoryInfo, CategoryTableBody(data_.Categories)));
  if (auto& q = storedRequests_[a->Number]; !q.empty()) {
    SendLater(c, Frame(proto::OffLineFriendRequests, StoredRequestsBody(q)));
    q.clear();
  }
  if (auto& m = offline_[a->Number]; !m.empty()) {
    SendLater(c, Frame(proto::EnterpriseOffLineMsg, OfflineMessagesBody(m)));
    m.clear();
  }
  if (auto& w = waiting_[a->Number]; !w.empty()) {
    SendLater(c, Frame(proto::CustomerOffLineMsg, WaitingMessagesBody(1, w)));
    w.clear();
  }
  if (auto& cs = customers_[a->Number]; !cs.empty()) SendLater(c, Frame(proto::CustomerList, CustomerListBody(cs)));
  if (!wasOnline) {
    std::string online = Frame(proto::FriendOnline, FriendRecordBody(RecordOf(*a)));
    for (uint32_t f : a->Friends)
      if (TConn* fc = Where(f)) Put(*fc, online);
  }
}

void TServiceServer::Chat(TConn& c, const std::string& body) {
  TBodyReader r(body);
  uint8_t kind = r.U8();
  std::string receiver = r.WireString();
  std::string sender = r.WireString();
  r.U32();  // rest length
  size_t restAt = r.Pos();
  uint8_t fontSize = r.U8();
  std::string fontName = r.WireString();
  uint32_t colour = r.U32();
  std::string content = r.LongText();
  if (kind == 0 || c.Account == 0) return;  // a customer's page is not simulated
  TAccount* to = data_.Find(receiver);
  if (!to) return;
  if (TConn* tc = Where(to->Number)) {
    Put(*tc, Frame(proto::ChatMsg, ChatBody(0, 1, body.substr(restAt), sender, dt::Now())));
  } else {
    offline_[to->Number].push_back({c.Account, dt::Now(), content, 0, fontName, fontSize, colour});
  }
}

void TServiceServer::Register(TConn& c, const std::string& body) {
  TBodyReader r(body);
  std::string company = r.WireString(), nick = r.WireString(), hash = r.WireString();
  std::string email = r.WireString(), web = r.WireString(), mac = r.WireString();
  TRegisterReply reply;
  TDateTime now = dt::Now();
  bool repeated = std::any_of(registrations_.begin(), registrations_.end(), [&](const TRegistration& g) {
    return now - g.Time < 10.0 / (24 * 60) && (g.Company == company || (!mac.empty() && g.Mac == mac));
  });
  if (company.empty() || nick.empty() || hash.size() != 32) {
    reply.Result = 3;
    reply.Text = "注册信息不完整";
  } else if (repeated) {
    reply.Result = 4;
    reply.Text = "十分钟内不能重复注册";
  } else {
    uint32_t number = 10000;
    for (const TAccount& a : data_.Accounts) number = std::max(number, a.Number);
    TAccount a;
    a.Number = number + 1;
    a.PassHash = hash;
    a.NickName = nick;
    a.Company = company;
    a.Email = email;
    a.WebAddress = web;
    data_.Accounts.push_back(a);
    registrations_.push_back({now, company, mac});
    reply.NewAccount = reply.Account = a.Number;
    reply.Text = "注册成功";
  }
  Put(c, Frame(proto::Register, RegisterReplyBody(reply)));
}

void TServiceServer::FindFriend(TConn& c, const std::string& body) {
  TBodyReader r(body);
  uint8_t mode = r.U8();
  std::string account = r.WireString(), company = r.WireString();
  std::vector<TFriendRecord> found;
  for (const TAccount& a : data_.Accounts) {
    bool byNumber = sys::IntToStr(a.Number) == account;
    bool byCompany = !company.empty() && a.Company.find(company) != std::string::npos;
    if ((mode == 1 && byNumber) || (mode == 0 && byCompany) || (mode == 2 && byNumber && byCompany))
      found.push_back(RecordOf(a));
  }
  Put(c, Frame(proto::FindFriend, FriendListBody(found)));
}

void TServiceServer::AskFriend(TConn& c, const std::string& body) {
  TBodyReader r(body);
  std::string target = r.WireString(), text = r.WireString();
  TAccount* from = data_.Find(c.Account);
  TAccount* to = data_.Find(target);
  if (!from || !to || to == from) return;
  if (from->Friends.count(to->Number)) {
    Put(c, Frame(proto::AlreadyFriend, AccountBody(to->Number)));
    return;
  }
  if (TConn* tc = Where(to->Number)) {
    Put(*tc, Frame(proto::FriendRequest, FriendRequestBody(text, RecordOf(*from))));
  } else {
    TStoredRequest q;
    q.Requester = from->Number;
    q.Time = dt::Now();
    q.Text = text;
    q.Record = RecordOf(*from);
    storedRequests_[to->Number].push_back(q);
  }
}

void TServiceServer::AcceptFriend(TConn& c, const std::string& body) {
  TBodyReader r(body);
  std::string own = r.WireString(), requester = r.WireString();
  TAccount* a = data_.Find(own);
  TAccount* b = data_.Find(requester);
  if (!a || !b || a == b) return;
  a->Friends.insert(b->Number);
  b->Friends.insert(a->Number);
  if (TConn* bc = Where(b->Number)) Put(*bc, Frame(proto::AddFriendToList, FriendRecordBody(RecordOf(*a))));
}

void TServiceServer::RefuseFriend(TConn& c, const std::string& body) {
  TBodyReader r(body);
  std::string requester = r.WireString(), own = r.WireString();
  TAccount* a = data_.Find(own);
  TAccount* b = data_.Find(requester);
  if (!a || !b) return;
  if (TConn* bc = Where(b->Number)) Put(*bc, Frame(proto::FriendRefuse, AccountBody(a->Number)));
}

void TServiceServer::DeleteFriend(TConn& c, const std::string& body) {
  TBodyReader r(body);
  std::string own = r.WireString(), other = r.WireString();
  TAccount* a = data_.Find(own);
  TAccount* b = data_.Find(other);
  if (!a || !b) return;
  a->Friends.erase(b->Number);
  b->Friends.erase(a->Number);
  if (TConn* bc = Where(b->Number)) Put(*bc, Frame(proto::DeleteFriend, AccountBody(a->Number)));
}

void TServiceServer::PostTrade(TConn& c, const std::string& body) {
  if (body.size() != layout::trade::kSize) {
    Put(c, Frame(proto::TradeSave, TradeResultBody(0)));
    return;
  }
  TTradeInfo t = TTradeInfo::Unpack(reinterpret_cast<const uint8_t*>(body.data()));
  bool ok = (t.Category == "0" || t.Category == "1" || t.Category == "2") && !t.ContactName.empty() &&
            !t.Company.empty() && !t.Phone.empty();
  if (ok) trades_.push_back(t);
  Put(c, Frame(proto::TradeSave, TradeResultBody(ok ? 1 : 0)));
}

void TServiceServer::LoggedOut(uint32_t account) {
  TAccount* a = data_.Find(account);
  if (!a) return;
  std::string offline = Frame(proto::FriendOffline, AccountBody(account));
  for (uint32_t f : a->Friends)
    if (TConn* fc = Where(f)) Put(*fc, offline);
}

void TServiceServer::Close(TConn& c) {
  uint32_t account = c.Account;
  closesocket(c.Sock);
  conns_.erase(std::remove_if(conns_.begin(), conns_.end(), [&](const auto& p) { return p.get() == &c; }),
               conns_.end());
  if (account) LoggedOut(account);
}

void TServiceServer::SendLater(TConn& c, std::string bytes) {
  c.Later.emplace_back(GetTickCount64() + ULONGLONG(followUpDelayMs_), std::move(bytes));
}

void TServiceServer::FlushLater() {
  ULONGLONG now = GetTickCount64();
  for (auto& c : conns_) {
    auto due = std::stable_partition(c->Later.begin(), c->Later.end(), [&](const auto& l) { return l.first <= now; });
    for (auto it = c->Later.begin(); it != due; ++it) Put(*c, it->second);
    c->Later.erase(c->Later.begin(), due);
  }
}

TServiceServer::TConn* TServiceServer::Where(uint32_t account) {
  for (auto& c : conns_)
    if (account && c->Account == account) return c.get();
  return nullptr;
}

TServiceServer::TConn* TServiceServer::ById(int id) {
  for (auto& c : conns_)
    if (c->Id == id) return c.get();
  return nullptr;
}

bool TServiceServer::Put(TConn& c, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    int n = send(c.Sock, bytes.data() + sent, int(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += size_t(n);
  }
  return true;
}

void TServiceServer::Edit(const std::function<void(TServiceData&)>& change) {
  std::lock_guard<std::mutex> lock(mu_);
  change(data_);
}

void TServiceServer::QueueReply(uint8_t requestProto, std::string bytes) {
  std::lock_guard<std::mutex> lock(mu_);
  scripted_[requestProto].push_back(std::move(bytes));
}

bool TServiceServer::SendTo(int connection, const std::string& bytes) {
  std::lock_guard<std::mutex> lock(mu_);
  TConn* c = ById(connection);
  return c && Put(*c, bytes);
}

bool TServiceServer::SendToAccount(uint32_t account, const std::string& bytes) {
  std::lock_guard<std::mutex> lock(mu_);
  TConn* c = Where(account);
  return c && Put(*c, bytes);
}

void TServiceServer::Disconnect(int connection) {
  std::lock_guard<std::mutex> lock(mu_);
  if (TConn* c = ById(connection)) Close(*c);
}

void TServiceServer::CustomerArrives(uint32_t account, uint32_t customer) {
  std::lock_guard<std::mutex> lock(mu_);
  auto& list = customers_[account];
  if (std::find(list.begin(), list.end(), customer) == list.end()) list.push_back(customer);
  if (TConn* c = Where(account)) Put(*c, Frame(proto::CustomerList, CustomerListBody({customer})));
}

void TServiceServer::CustomerLeaves(uint32_t account, uint32_t customer) {
  std::lock_guard<std::mutex> lock(mu_);
  auto& list = customers_[account];
  list.erase(std::remove(list.begin(), list.end(), customer), list.end());
  if (TConn* c = Where(account)) Put(*c, Frame(proto::CustomerLeft, CustomerLeftBody(sys::IntToStr(customer))));
}

void TServiceServer::CustomerMessage(uint32_t account, uint32_t customer, const std::string& text) {
  std::lock_guard<std::mutex> lock(mu_);
  std::string number = sys::IntToStr(customer);
  if (TConn* c = Where(account)) {
    // A web page sends its colour as decimal text.
    std::string formatted = TBodyWriter().U8(10).WireString("宋体").WireString("0").LongText(text).Take();
    Put(*c, Frame(proto::ChatMsg, ChatBody(0, 0, formatted, number, dt::Now())));
  } else {
    waiting_[account].push_back({text, number, dt::Now()});
  }
}

std::vector<TRequest> TServiceServer::Requests() const {
  std::lock_guard<std::mutex> lock(mu_);
  return requests_;
}

std::vector<TRequest> TServiceServer::RequestsOf(uint8_t proto) const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<TRequest> v;
  for (const TRequest& r : requests_)
    if (r.Frame.Proto == proto) v.push_back(r);
  return v;
}

size_t TServiceServer::CountOf(uint8_t proto) const { return RequestsOf(proto).size(); }

int TServiceServer::Connections() const {
  std::lock_guard<std::mutex> lock(mu_);
  return nextId_ - 1;
}

bool TServiceServer::IsOnline(uint32_t account) const {
  std::lock_guard<std::mutex> lock(mu_);
  for (auto& c : conns_)
    if (c->Account == account) return true;
  return false;
}

std::vector<TTradeInfo> TServiceServer::Trades() const {
  std::lock_guard<std::mutex> lock(mu_);
  return trades_;
}

TServiceData TServiceServer::Data() const {
  std::lock_guard<std::mutex> lock(mu_);
  return data_;
}

size_t TServiceServer::SkippedBytes() const {
  std::lock_guard<std::mutex> lock(mu_);
  return skipped_;
}

}  // namespace stub
