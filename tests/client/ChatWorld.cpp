// The chat tests' world; see ChatWorld.h.
#include "tests/client/ChatWorld.h"

#include "core/MD5.h"
#include "core/uDataOperate.h"
#include "core/uDatabase.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "socket/AsyncClientSocket.h"
#include "tests/client/ClientProcess.h"
#include "widgets/Widgets.h"

void ChatWorld::SetUp() {
  if (!Application) {
    static TApplication app;
    Application = &app;
    app.Initialize();
    RegisterFormsClasses();
    RegisterWidgets();
  }
  dialogSeam_ = std::make_unique<seams::ScopedSeam<seams::IDialogs>>(&dialogs_);
  SetErrorLogPath(dir_.File("Client.log"));
  InitializeSettingsUnit(dir_.File("Client.ini"));
  if (!PictureLib) LoadPictureLibrary(client_test::BinFolder() + "Vandrel.dll");
  PersonalDb = TDatabaseInfo{};
  PersonalDb.Path = dir_.File("DataConfig\\LocalConfig.mdb");
  PersonalDb.Password = kDatabasePassword;
  ASSERT_TRUE(OpenOrCreateDatabase(PersonalDb));
  data_ = CreateForm<TData>(nullptr);
  Data = data_;
  port_ = server_.Start();
  ASSERT_NE(port_, 0);
  ServiceClient = std::make_unique<TServiceClient>("127.0.0.1", sys::IntToStr(port_), data_);
  ASSERT_EQ(Login(*ServiceClient, "10001"), 0);
  LoginData.Username = "10001";
  IsConnected = true;
}

void ChatWorld::TearDown() {
  testing_support::DropPumpingStep();
  ServiceClient.reset();
  IsConnected = false;
  delete data_;
  Data = nullptr;
  PersonalDb = TDatabaseInfo{};
  server_.Stop();
  FinalizeSettingsUnit();
  SetErrorLogPath("");
  dialogSeam_.reset();
}

int ChatWorld::Login(TServiceClient& c, const std::string& account) {
  int connected = -1;
  c.OnConnect = TConnectEvent([&](TObject*, uint8_t failed) { connected = failed; });
  c.Connect();
  testing_support::PumpUntil([&] { return connected >= 0; });
  c.OnConnect.Clear();
  if (connected != 0) return -1;
  int result = -1;
  c.OnLoginReply = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) {
    TLoginReply r = ParseLoginReply(TBody::OfFrame(f, held));
    c.OwnName = r.OwnName;
    result = r.Result;
  });
  c.SendLogin(account, MD5Print(MD5String("demo")));
  testing_support::PumpUntil([&] { return result >= 0; });
  c.OnLoginReply.Clear();
  return result;
}

std::unique_ptr<TServiceClient> ChatWorld::LoggedInClient(const std::string& account) {
  auto c = std::make_unique<TServiceClient>("127.0.0.1", sys::IntToStr(port_));
  if (Login(*c, account) != 0) return nullptr;
  return c;
}

std::string ChatWorld::Boxes() const {
  std::string all;
  for (const auto& call : dialogs_.calls) all += call.text + "|";
  return all;
}

bool ChatWorld::ServerGot(uint8_t proto, size_t n) {
  return testing_support::PumpUntil([&] { return server_.CountOf(proto) >= n; });
}
