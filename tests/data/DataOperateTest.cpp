// Every operation of the data module over freshly created databases, with values that hold
// quotes and Chinese text, posting failures, and two data modules used one after the other.
#include <gtest/gtest.h>

#include "core/uDataOperate.h"
#include "platform/forms/Forms.h"
#include "core/uDatabase.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/rtl/Base64.h"
#include "platform/rtl/StringList.h"
#include "tests/data/DataFixtures.h"

using datatest::RawExec;
using datatest::RawRows;
using Rows = std::vector<std::string>;

namespace {

const std::string kQuoted = "O'Brien \"网站\" 中文";

TSelfInfo User(const char* name, const char* pass, const char* save, const char* history) {
  TSelfInfo u;
  u.Username = name;
  u.UserPass = pass;
  u.IsSave = save;
  u.HistoryLoginName = history;
  return u;
}

class DataModule : public ::testing::Test {
 protected:
  void SetUp() override {
    clock_.now = dt::Encode({2026, 12, 10, 15, 30, 0});
    p_.Run();
    ASSERT_TRUE(SystemDb.Opened && PersonalDb.Opened);
  }
  TData& D() { return *p_.data; }
  Rows Personal(const std::string& sql) { return RawRows(p_.Personal(), sql); }

  testing_support::FixedClock clock_;
  seams::ScopedSeam<seams::IClock> clockSeam_{&clock_};
  datatest::StartedProgram p_;
};

}  // namespace

TEST_F(DataModule, ReadConfigFindsTheRowBySectionAndKeyAndClosesItsQuery) {
  RawExec(p_.System(), "INSERT INTO config (SectionName, KeyName, KeyValue) VALUES ('O''s', '中文键', 'v''1')");
  std::string web = std::string("http://") + kServiceWebHost;
  struct Case {
    const char *section, *key;
    std::string value;
  } cases[] = {
      {"SeoUrl", "Domainurl", web + "/whois.asp?domain="},
      {"seourl", "DOMAINURL", web + "/whois.asp?domain="},
      {"Link", "LinkUserUrl", web + "/user_admin.asp"},
      {"O's", "中文键", "v'1"},
      {"SeoUrl", "Nothing", ""},
      {"SeoUrl' or '1'='1", "QueryUrl", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(D().ReadConfig(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_FALSE(D().Adodb->Active());
  }
}

TEST_F(DataModule, HostListAndAddressOfTheChosenLine) {
  std::vector<THostLine> lines;
  D().ReadHostList(lines);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].HostName, kServiceWebHost);
  EXPECT_EQ(lines[2].HostDescription, "双线路");

  EXPECT_EQ(D().GetAddress(), kServiceWebHost);
  D().SaveLineConfig1({"Line", "双线路"});
  EXPECT_EQ(D().GetAddress(), kSecondLineHost);
  D().SaveLineConfig1({"Line", "没有的线路"});
  EXPECT_EQ(D().GetAddress(), "");

  // With no rows the caller's list stays as it was.
  RawExec(p_.System(), "DELETE FROM HostList");
  D().ReadHostList(lines);
  EXPECT_EQ(lines.size(), 3u);
}

TEST_F(DataModule, GetAddressLogsAFailedOpenAndPassesTheError) {
  RawExec(p_.System(), "DROP TABLE HostList");
  EXPECT_ANY_THROW(D().GetAddress());
  Rows log = p_.folder.LogTexts();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("Tdata.GetAddress:string,出错"), std::string::npos);
}

TEST_F(DataModule, SaveLineConfigWritesTheLineRowWhateverComesFirst) {
  RawExec(p_.Personal(), "DELETE FROM SelfConfig");
  D().SaveLineConfig1({"Line", "本地线路"});
  EXPECT_EQ(Personal("select KeyName, KeyValue from SelfConfig"), Rows{"Line|本地线路"});

  RawExec(p_.Personal(),
          "DELETE FROM SelfConfig; INSERT INTO SelfConfig (KeyName, KeyValue) VALUES ('Other', 'x'), "
          "('Line', '网通线路')");
  D().SaveLineConfig1({"Line", "双线路"});
  EXPECT_EQ(Personal("select KeyName, KeyValue from SelfConfig order by Id"), (Rows{"Other|x", "Line|双线路"}));
  std::string line;
  D().ReadLineConfig(line);
  EXPECT_EQ(line, "双线路");
}

TEST_F(DataModule, QuickReplyPhrasesAreAddedOnce) {
  D().SaveShorMessage(kQuoted);
  D().SaveShorMessage(kQuoted);
  D().SaveShorMessage("谢谢您的建议");
  D().SaveShorMessage("new phrase");
  D().SaveShorMessage("NEW PHRASE");  // text compares without regard to case
  TStringList list;
  list.Add("kept");
  D().ReadShortMessages(list);
  ASSERT_EQ(list.Count(), 7);
  EXPECT_EQ(list[0], "kept");
  EXPECT_EQ(list[1], "我现在正忙，请稍候");
  EXPECT_EQ(list[5], kQuoted);
  EXPECT_EQ(list[6], "new phrase");
}

TEST_F(DataModule, DomainReminderStaysOneRowAndAChangedDomainTakesEffect) {
  D().ReadDomainHintDate();
  EXPECT_EQ(DomainName, "");
  EXPECT_EQ(HintDateNumber, 0);
  D().SaveDomaniHintDate("a'b.com", 10);
  D().ReadDomainHintDate();
  EXPECT_EQ(DomainName, "a'b.com");
  EXPECT_EQ(HintDateNumber, 10);
  D().SaveDomaniHintDate("中文.cn", 45);
  D().ReadDomainHintDate();
  EXPECT_EQ(DomainName, "中文.cn");
  EXPECT_EQ(HintDateNumber, 45);
  EXPECT_EQ(Personal("select count(*) from DomainCallDate"), Rows{"1"});
}

TEST_F(DataModule, ChatMessagesOfTheLastThirtyDaysComeBackInStoredOrder) {
  TDateTime now = clock_.now;
  struct Msg {
    double daysAgo;
    const char *text, *friendNumber;
  } stored[] = {
      {0, "today", "1001"},         {31, "too old", "1001"},     {30.4, "thirty days ago", "1001"},
      {2, kQuoted.c_str(), "1001"}, {1, "other friend", "1002"}, {400, "last year", "1001"},
  };
  for (const Msg& m : stored) D().SaveChatMsg({now - m.daysAgo, m.text, m.friendNumber});
  EXPECT_EQ(Personal("select ChatDate from ChatMsg order by Id limit 1"), Rows{"2026-12-10 15:30:00"});

  std::vector<TChatRecord> msgs{{}, {}, {}, {}, {}, {}, {}};
  D().ReadChatMsg("1001", msgs);
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(msgs[0].ChatMsg, "today");
  EXPECT_EQ(msgs[1].ChatMsg, "thirty days ago");
  EXPECT_EQ(msgs[2].ChatMsg, kQuoted);

  D().ReadChatMsg("9999", msgs);
  EXPECT_TRUE(msgs.empty());
}

TEST_F(DataModule, RememberedUsers) {
  std::string names = "stale";
  D().ReadLoginNames(names);
  EXPECT_EQ(names, "");

  TSelfInfo first = User("1001", "p'w", "1", "1001,"), second = User("中文", "p'w", "1", "1001,");
  D().EditUserInfo(first, false);
  RawExec(p_.Personal(), "UPDATE SelfInfo SET JsScript='script'");
  D().EditUserInfo(second, false);
  D().ReadLoginNames(names);
  EXPECT_EQ(names, "1001,中文,");

  // A known user is updated in place; JsScript is not written.
  TSelfInfo again = User("1001", "new", "0", "1001,中文,");
  again.JsScript = "ignored";
  D().EditUserInfo(again, false);
  EXPECT_EQ(Personal("select Username, Userpass, IsSave, HistoryLoginName, JsScript from SelfInfo order by Id"),
            (Rows{"1001|new|0|1001,中文,|script", "中文|p'w|1|1001,|"}));

  TSelfInfo loaded;
  D().EditUserInfo(loaded, true);
  EXPECT_EQ(loaded.Username, "中文");
  EXPECT_EQ(loaded.UserPass, "p'w");
  EXPECT_EQ(loaded.IsSave, "1");
  EXPECT_EQ(loaded.HistoryLoginName, "1001,");
  EXPECT_EQ(loaded.JsScript, "");
}

TEST_F(DataModule, SavedAddressesAddChangeAndDelete) {
  CurrentNetBackUrl = {"1001", "http://a'b.com/admin", "后台", "admin", base64::Encode("密码'1"), "", "", 0, "21"};
  EXPECT_EQ(D().SaveNetBackUrl(0, 0), 0);
  EXPECT_EQ(D().SaveNetBackUrl(0, 0), 1);
  EXPECT_EQ(D().SaveNetBackUrl(0, 2), 0);  // the same address as an FTP account is another row
  EXPECT_EQ(Personal("select count(*) from NetBackRecord"), Rows{"2"});

  std::vector<TNetBackUrl> urls;
  D().ReadNetBackUrls("1001", "0", urls);
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(urls[0].EnterpriseId, "1001");
  EXPECT_EQ(urls[0].NetSiteAddress, "http://a'b.com/admin");
  EXPECT_EQ(urls[0].NetSiteName, "后台");
  EXPECT_EQ(urls[0].UserPass, "密码'1");
  EXPECT_EQ(urls[0].PostDate, "2026-12-10");
  EXPECT_EQ(urls[0].NetUrlType, "0");
  EXPECT_EQ(urls[0].Id, 1);
  EXPECT_EQ(urls[0].Port, "21");

  // A change writes the fields of its kind only.
  struct Change {
    int type, id;
    const char* expected;  // NetSiteName|NetSiteAddress|UserName|UserPass|PostDate|Port
  } changes[] = {
      {0, 1, "n|a|u|cHc=|2026-12-11|21"},
      {2, 2, "n|a|u|cHc=|2026-12-11|2121"},
  };
  clock_.now += 1;
  for (const Change& c : changes) {
    CurrentNetBackUrl = {"1001", "a", "n", "u", "cHc=", "", "", c.id, "2121"};
    EXPECT_EQ(D().SaveNetBackUrl(1, c.type), 0);
    EXPECT_EQ(Personal("select NetSiteName, NetSiteAddress, UserName, UserPass, PostDate, Port from NetBackRecord "
                       "where Id=" +
                       std::to_string(c.id)),
              Rows{c.expected});
  }
  CurrentNetBackUrl = {"1001", "common", "常用", "", "", "", "", 0, ""};
  EXPECT_EQ(D().SaveNetBackUrl(0, 1), 0);
  CurrentNetBackUrl = {"1001", "c2", "常用2", "x", "x", "", "", 3, "x"};
  EXPECT_EQ(D().SaveNetBackUrl(1, 1), 0);
  EXPECT_EQ(Personal("select NetSiteName, NetSiteAddress, UserName, UserPass, Port from NetBackRecord where Id=3"),
            Rows{"常用2|c2|||"});

  // Another enterprise's row, a row of another kind or a lost row cannot be changed.
  CurrentNetBackUrl = {"2002", "a", "n", "u", "p", "", "", 1, ""};
  EXPECT_EQ(D().SaveNetBackUrl(1, 0), 2);
  CurrentNetBackUrl.EnterpriseId = "1001";
  EXPECT_EQ(D().SaveNetBackUrl(1, 2), 2);
  Rows log = p_.folder.LogTexts();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[1].find("函数名:function TData.SaveNetBackUrl信息:更改Ftp记录出现异常"), std::string::npos);

  // Other modes and kinds do nothing.
  EXPECT_EQ(D().SaveNetBackUrl(3, 0), 0);
  EXPECT_EQ(D().SaveNetBackUrl(0, 3), 0);
  EXPECT_EQ(Personal("select count(*) from NetBackRecord"), Rows{"3"});

  CurrentNetBackUrl = {"2002", "", "", "", "", "", "", 1, ""};
  EXPECT_EQ(D().SaveNetBackUrl(2, 0), 0);
  EXPECT_EQ(Personal("select count(*) from NetBackRecord"), Rows{"3"});  // not that enterprise's row
  CurrentNetBackUrl.EnterpriseId = "1001";
  EXPECT_EQ(D().SaveNetBackUrl(2, 0), 0);
  EXPECT_EQ(Personal("select Id from NetBackRecord order by Id"), (Rows{"2", "3"}));
  D().ReadNetBackUrls("1001", "0", urls);
  EXPECT_TRUE(urls.empty());
}

TEST_F(DataModule, PostingFailuresAreLoggedAndTheOperationReturns) {
  // A trigger stands for a disk that refuses the write.
  for (const char* table : {"SelfConfig", "ShortMessage", "DomainCallDate", "ChatMsg", "SelfInfo", "NetBackRecord"})
    RawExec(p_.Personal(), std::string("CREATE TRIGGER no_insert_") + table + " BEFORE INSERT ON " + table +
                               " BEGIN SELECT RAISE(ABORT, 'disk full'); END; CREATE TRIGGER no_update_" + table +
                               " BEFORE UPDATE ON " + table + " BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
  TSelfInfo info;
  info.Username = "1001";
  CurrentNetBackUrl = {"1001", "a", "n", "", "", "", "", 0, ""};
  D().SaveLineConfig1({"Line", "双线路"});
  D().SaveShorMessage("new");
  D().SaveDomaniHintDate("a.com", 3);
  D().SaveChatMsg({clock_.now, "hi", "1001"});
  D().EditUserInfo(info, false);
  EXPECT_EQ(D().SaveNetBackUrl(0, 0), 2);
  EXPECT_EQ(p_.folder.LogTexts(), (Rows{"disk fullTdata.SaveLineConfig1,出错", "disk fullTdata.SaveShorMessage,出错",
                                        "disk fullTdata.SaveDomaniHintDate,出错", "disk fullTData.SaveChatMsg出错",
                                        "disk fullTData.EditUserInfo出错",
                                        "disk full函数名:function TData.SaveNetBackUrl信息:添加记录出现异常"}));
  // The query is usable again by the next operation.
  std::string line;
  D().ReadLineConfig(line);
  EXPECT_EQ(line, "网通线路");
}

TEST_F(DataModule, TwoDataModulesOneAfterTheOther) {
  // The program's second data module connects itself from the descriptors.
  TOwned<TData> second(CreateForm<TData>(nullptr));
  Data = second.get();
  EXPECT_TRUE(second->ADOConnection->Connected());
  EXPECT_TRUE(second->AdoConnSecond->Connected());
  second->SaveShorMessage("from the second");
  second->SaveLineConfig1({"Line", "本地线路"});

  // The first one, which the connection object keeps, sees the same files.
  TStringList list;
  D().ReadShortMessages(list);
  EXPECT_EQ(list[list.Count() - 1], "from the second");
  EXPECT_EQ(D().GetAddress(), kLocalLineAddress);
  D().SaveShorMessage("from the first");
  list.Clear();
  second->ReadShortMessages(list);
  EXPECT_EQ(list[list.Count() - 1], "from the first");

  second.reset();
  EXPECT_EQ(Data, nullptr);
}
