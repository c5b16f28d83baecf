// The remembered login: SaveLoginInfo writes the account to the ini file and its record with
// the history of accounts to the personal database; LoadLoginInfo reads them back. Without a
// personal database only the ini file takes part.
#include <gtest/gtest.h>

#include "core/uDataOperate.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/StringList.h"
#include "tests/data/DataFixtures.h"

using Rows = std::vector<std::string>;

namespace {

class LoginInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeSettingsUnit(p_.folder.File("Client.ini"));
    LoginHistory = std::make_unique<TStringList>();
    p_.Run();
    ASSERT_TRUE(PersonalDb.Opened);
  }
  void TearDown() override {
    LoginData = TLoginInfo{};
    FinalizeSettingsUnit();
  }
  void LogIn(const std::string& name, const std::string& history) {
    LoginHistory->Clear();
    for (size_t start = 0, comma; (comma = history.find(',', start)) != std::string::npos; start = comma + 1)
      LoginHistory->Add(history.substr(start, comma - start));
    LoginData.Username = name;
    LoginData.Password = "cGFzcw==";
    LoginData.IsSave = "1";
    SaveLoginInfo();
  }
  Rows SelfInfo() {
    return datatest::RawRows(p_.Personal(), "select Username, HistoryLoginName from SelfInfo order by Id");
  }
  datatest::StartedProgram p_;
};

}  // namespace

TEST_F(LoginInfo, HistoryKeepsWholeNamesOnce) {
  struct Case {
    const char* name;
    const char* history;  // the accounts the login window listed
    const char* stored;   // the history stored with the record
  } cases[] = {
      {"12", "123,", "123,12,"},      // a prefix of a known name is a new name
      {"123", "123,12,", "123,12,"},  // a known name is not added again
      {"1", "", "1,"},
  };
  for (const auto& c : cases) {
    LogIn(c.name, c.history);
    EXPECT_EQ(TIniFile(p_.folder.File("Client.ini")).ReadString("Logininfo", "username", ""), c.name);
    bool found = false;
    for (const std::string& row : SelfInfo())
      if (row == std::string(c.name) + "|" + c.stored) found = true;
    EXPECT_TRUE(found) << c.name;
  }
  LoginData = TLoginInfo{};
  LoadLoginInfo();
  EXPECT_EQ(LoginData.Username, "1");
  EXPECT_EQ(LoginData.HistoryLoginNames, "12,123,1,");
  EXPECT_EQ(LoginData.IsSave, "0");  // the ini file's, which the login window writes
}

TEST_F(LoginInfo, WithoutAPersonalDatabaseOnlyTheIniFileTakesPart) {
  LogIn("10001", "");
  PersonalDb.Opened = false;
  LogIn("10002", "10001,");
  EXPECT_EQ(TIniFile(p_.folder.File("Client.ini")).ReadString("Logininfo", "username", ""), "10002");
  EXPECT_EQ(SelfInfo(), (Rows{"10001|10001,"}));
  LoginData = TLoginInfo{};
  LoginData.HistoryLoginNames = "untouched";
  LoadLoginInfo();
  EXPECT_EQ(LoginData.Username, "");
  EXPECT_EQ(LoginData.HistoryLoginNames, "untouched");
  EXPECT_FALSE(LoginData.Host.empty());
  PersonalDb.Opened = true;
}
