// The loopback fixture.
#include "tests/net/NetFixture.h"

#include "core/MD5.h"
#include "core/uHelpers.h"
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"

void FrameLog::Hook(TServiceClient& c) {
  for (int p = 0; p < 256; ++p)
    if (TPacketEvent* e = c.EventFor(uint8_t(p)))
      *e = TPacketEvent([this](TObject*, const uint8_t* f, int32_t held) { frames.emplace_back((const char*)f, held); });
}

std::vector<std::string> FrameLog::Of(uint8_t proto) const {
  std::vector<std::string> v;
  for (const std::string& f : frames)
    if (uint8_t(f[1]) == proto) v.push_back(f);
  return v;
}

void NetTest::SetUp() {
  SetErrorLogPath(dir_.File("Client.log"));
  port_ = server_.Start();
  ASSERT_NE(port_, 0);
}

void NetTest::TearDown() {
  clients_.clear();
  server_.Stop();
  SetErrorLogPath("");
}

TServiceClient& NetTest::NewClient() {
  clients_.push_back(std::make_unique<TServiceClient>("127.0.0.1", sys::IntToStr(port_)));
  return *clients_.back();
}

bool NetTest::Connect(TServiceClient& c) {
  int result = -1;
  int accepted = server_.Connections();
  c.OnConnect = TConnectEvent([&](TObject*, uint8_t failed) { result = failed; });
  c.Connect();
  testing_support::PumpUntil([&] { return result >= 0; });
  c.OnConnect.Clear();
  // The client is connected before the server thread has accepted it.
  return result == 0 && testing_support::PumpUntil([&] { return server_.Connections() > accepted; });
}

int NetTest::Login(TServiceClient& c, const std::string& account, const std::string& password) {
  if (c.Socket().State() != wsConnected && !Connect(c)) return -1;
  int result = -1;
  TPacketEvent previous = c.OnLoginReply;
  c.OnLoginReply = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) {
    result = ParseLoginReply(TBody::OfFrame(f, held)).Result;
  });
  c.SendLogin(account, MD5Print(MD5String(password)));
  testing_support::PumpUntil([&] { return result >= 0; });
  c.OnLoginReply = previous;
  return result;
}

std::vector<std::string> NetTest::LogTexts() const {
  std::vector<std::string> v;
  std::string log;
  try {
    log = sys::ReadFileBytes(dir_.File("Client.log"));
  } catch (const std::exception&) {
    return v;
  }
  const std::string open = "【", close = "】\r\n";
  for (size_t pos = 0; (pos = log.find(open, pos)) != std::string::npos;) {
    size_t end = log.find(close, pos);
    if (end == std::string::npos) break;
    v.push_back(log.substr(pos + open.size(), end - pos - open.size()));
    pos = end + close.size();
  }
  return v;
}

bool NetTest::Logged(const std::string& text) const {
  for (const std::string& t : LogTexts())
    if (t.find(text) != std::string::npos) return true;
  return false;
}
