// The saved-addresses window under Wine over a real personal database: add, change,
// delete, clear, sort and open on each of its three pages, with the checks and messages
// of each kind.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/uDataOperate.h"
#include "core/uSettings.h"
#include "platform/rtl/Base64.h"
#include "tests/webtools/WebToolsWorld.h"
#include "webtools/uSaveNetParse.h"

namespace {

class SaveNetFrmTest : public WebToolsWorld {
 protected:
  void SetUp() override {
    WebToolsWorld::SetUp();
    SortAscending = false;
    frm_.reset(CreateForm<TSaveNetFrm>(nullptr));
    frm_->Show();
  }
  void TearDown() override {
    frm_.reset();
    WebToolsWorld::TearDown();
  }
  // The rows of a list, each as its cells joined by "|".
  static std::vector<std::string> Rows(TListView* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list->Count(); ++i) {
      std::string r = list->Items(i)->Caption();
      for (int s = 0; s < list->Items(i)->SubItemCount(); ++s) r += "|" + list->Items(i)->SubItem(s);
      rows.push_back(r);
    }
    return rows;
  }
  std::vector<TNetBackUrl> Stored(int kind) {
    std::vector<TNetBackUrl> v;
    Data->ReadNetBackUrls("10001", std::to_string(kind), v);
    return v;
  }
  // Fills edits by name and clicks "新增"/"修改" with a Yes to the question.
  void Save(const std::vector<std::pair<TEdit*, std::string>>& edits) {
    for (const auto& e : edits) e.first->SetText(e.second);
    dialogs_.answers = {IDYES};
    dialogs_.calls.clear();
    frm_->btnNewAdd->Click();
  }
  void Page(int i) {
    frm_->PageControl1->SetActivePageIndex(i);
    frm_->PageControl1Change(frm_.get());
  }
  void Select(TListView* list, int row) { list->SetItemIndex(row); }
  TOwned<TSaveNetFrm> frm_;
};

TEST_F(SaveNetFrmTest, BackEndAddressesAddDuplicateChangeAndDelete) {
  TSaveNetFrm& f = *frm_;
  Save({{f.yNetSiteName, "示例后台"}, {f.yNetAddress, "http://www.example.cn/admin"}, {f.yUserName, "admin"},
        {f.yUserPass, "pa55"}, {f.yOkPass, "pa55"}});
  EXPECT_EQ(Boxes(), "是否新增记录?|新增记录成功");
  std::string today = IsoDay(0);
  EXPECT_EQ(Rows(f.yListNetBackUrl), std::vector<std::string>{"示例后台|http://www.example.cn/admin|admin|pa55|" + today});
  EXPECT_EQ(f.yNetSiteName->Text(), "");
  EXPECT_EQ(f.yUserPass->Text(), "");
  EXPECT_EQ(f.yOkPass->Text(), "pa55") << "the confirmation is not emptied";
  ASSERT_EQ(Stored(0).size(), 1u);
  EXPECT_EQ(Stored(0)[0].UserPass, "pa55");

  // The same name and address again: refused, one row, and what was typed is kept.
  Save({{f.yNetSiteName, "示例后台"}, {f.yNetAddress, "http://www.example.cn/admin"}, {f.yUserName, "root"},
        {f.yUserPass, "pa55"}, {f.yOkPass, "pa55"}});
  EXPECT_EQ(Boxes(), "是否新增记录?|此条记录已经存在，请重新输入");
  EXPECT_EQ(Stored(0).size(), 1u);
  EXPECT_EQ(f.yNetSiteName->Text(), "示例后台");
  EXPECT_EQ(f.yUserName->Text(), "root");

  // The checks, each stopping the click with nothing asked.
  struct Check {
    std::string name, address, user, pass, confirm, message;
  } checks[] = {
      {"a", "b", "c", "x", "y", "后台密码不一致，请重新输入"},
      {"", "b", "c", "x", "x", "网站名称不能为空"},
      {"a", "", "c", "x", "x", "网站后台地址不能为空"},
      {"a", "b", "", "x", "x", "网站后台用户名不能为空"},
      {"a", "b", "c", "", "", "网站后台密码不能为空"},
  };
  for (const Check& c : checks) {
    Save({{f.yNetSiteName, c.name}, {f.yNetAddress, c.address}, {f.yUserName, c.user}, {f.yUserPass, c.pass},
          {f.yOkPass, c.confirm}});
    EXPECT_EQ(Boxes(), c.message);
  }
  EXPECT_EQ(Stored(0).size(), 1u);

  // Taken from the list, changed with an empty password.
  f.btnCancel->Click();
  Select(f.yListNetBackUrl, 0);
  f.yListNetBackUrlClick(&f);
  EXPECT_EQ(f.btnNewAdd->Caption(), "修改");
  EXPECT_EQ(f.yNetAddress->Text(), "http://www.example.cn/admin");
  EXPECT_EQ(f.yOkPass->Text(), "pa55");
  Save({{f.yUserName, "boss"}, {f.yUserPass, ""}, {f.yOkPass, ""}});
  EXPECT_EQ(Boxes(), "是否修改记录?|修改记录成功");
  EXPECT_EQ(Stored(0)[0].UserName, "boss");
  EXPECT_EQ(Stored(0)[0].UserPass, "");
  EXPECT_EQ(f.btnNewAdd->Caption(), "新增");

  // No to the question changes nothing.
  Select(f.yListNetBackUrl, 0);
  f.yListNetBackUrlClick(&f);
  dialogs_.answers = {IDNO};
  dialogs_.calls.clear();
  f.yUserName->SetText("nobody");
  f.btnNewAdd->Click();
  EXPECT_EQ(Boxes(), "是否修改记录?");
  EXPECT_EQ(Stored(0)[0].UserName, "boss");

  // Delete: without a selection only the question; with one the row goes.
  Select(f.yListNetBackUrl, -1);
  dialogs_.answers = {IDYES};
  dialogs_.calls.clear();
  f.btnDelete->Click();
  EXPECT_EQ(Boxes(), "是否删除此记录?");
  EXPECT_EQ(Stored(0).size(), 1u);
  Select(f.yListNetBackUrl, 0);
  dialogs_.answers = {IDYES};
  dialogs_.calls.clear();
  f.btnDelete->Click();
  EXPECT_TRUE(Stored(0).empty());
  EXPECT_EQ(f.yListNetBackUrl->Count(), 0);
  EXPECT_EQ(f.yNetSiteName->Text(), "");
}

TEST_F(SaveNetFrmTest, EachPageAddsTakesChangesAndDeletesItsOwnRows) {
  TSaveNetFrm& f = *frm_;
  struct Kind {
    int page;
    TListView* list;
    std::vector<std::pair<TEdit*, std::string>> fields;  // the name first
    std::string added, changed;
  } kinds[] = {
      {0, f.yListNetBackUrl, {{f.yNetSiteName, "后台"}, {f.yNetAddress, "http://a"}, {f.yUserName, "u"},
                              {f.yUserPass, "p"}, {f.yOkPass, "p"}}, "新增记录成功", "修改记录成功"},
      {1, f.yListViewNetUrl, {{f.yNetName, "收藏"}, {f.yNetUrl, "http://b"}}, "保存成功", "修改保存成功"},
      {2, f.yListViewFtp, {{f.yFtpName, "FTP"}, {f.yFtpAddress, "ftp.c"}, {f.yFtpPort, "21"}, {f.yFtpUserName, "u"},
                           {f.yFtpPassword, "p"}, {f.yOkFtpPass, "p"}}, "保存成功", "修改成功"},
  };
  for (const Kind& k : kinds) {
    Page(k.page);
    Save(k.fields);
    EXPECT_EQ(Boxes(), "是否新增记录?|" + k.added) << k.page;
    ASSERT_EQ(k.list->Count(), 1) << k.page;
    Select(k.list, 0);
    k.list->OnClick(k.list);
    EXPECT_EQ(k.fields[0].first->Text(), k.fields[0].second) << k.page;
    EXPECT_EQ(f.btnNewAdd->Caption(), "修改");
    Save({{k.fields[0].first, "新名"}});
    EXPECT_EQ(Boxes(), "是否修改记录?|" + k.changed) << k.page;
    ASSERT_EQ(Stored(k.page).size(), 1u);
    EXPECT_EQ(Stored(k.page)[0].NetSiteName, "新名");
    auto deleteFirst = [&] {
      Select(k.list, 0);
      dialogs_.answers = {IDYES};
      dialogs_.calls.clear();
      f.btnDelete->Click();
    };
    // The row taken for a change is deleted: the next save adds a new one.
    Select(k.list, 0);
    k.list->OnClick(k.list);
    ASSERT_EQ(f.btnNewAdd->Caption(), "修改");
    deleteFirst();
    EXPECT_TRUE(Stored(k.page).empty()) << k.page;
    EXPECT_EQ(f.btnNewAdd->Caption(), "新增") << k.page;
    Save(k.fields);
    EXPECT_EQ(Boxes(), "是否新增记录?|" + k.added) << k.page;
    ASSERT_EQ(Stored(k.page).size(), 1u) << k.page;
    EXPECT_EQ(Stored(k.page)[0].NetSiteName, k.fields[0].second) << k.page;
    deleteFirst();
    EXPECT_TRUE(Stored(k.page).empty()) << k.page;
  }
  // Each page kept to its own kind.
  for (int kind = 0; kind < 3; ++kind) EXPECT_TRUE(Stored(kind).empty());
}

TEST_F(SaveNetFrmTest, PasswordsAreStoredInBase64) {
  TSaveNetFrm& f = *frm_;
  Save({{f.yNetSiteName, "s"}, {f.yNetAddress, "http://s"}, {f.yUserName, "u"}, {f.yUserPass, "密码1"},
        {f.yOkPass, "密码1"}});
  ASSERT_EQ(Stored(0).size(), 1u);
  EXPECT_EQ(Stored(0)[0].UserPass, "密码1");
  EXPECT_EQ(CurrentNetBackUrl.UserPass, base64::Encode("密码1"));
}

TEST_F(SaveNetFrmTest, CommonAddressesStoreNoAccountAndOpenAsWebAddresses) {
  TSaveNetFrm& f = *frm_;
  Page(1);
  Save({{f.yNetName, "收藏"}, {f.yNetUrl, "www.example.cn"}});
  EXPECT_EQ(Boxes(), "是否新增记录?|保存成功");
  ASSERT_EQ(Stored(1).size(), 1u);
  EXPECT_EQ(Stored(1)[0].UserName, "");
  EXPECT_EQ(Stored(1)[0].UserPass, "");
  EXPECT_EQ(Stored(1)[0].Port, "");
  EXPECT_EQ(Rows(f.yListViewNetUrl), std::vector<std::string>{"收藏|www.example.cn|" + IsoDay(0)});
  Save({{f.yNetName, ""}, {f.yNetUrl, "x"}});
  EXPECT_EQ(Boxes(), "网站名称不能为空");
  Save({{f.yNetName, "x"}, {f.yNetUrl, ""}});
  EXPECT_EQ(Boxes(), "网站地址不能为空");

  struct Open {
    std::string typed, opened;
  } opens[] = {{"abc", "http://abc"},
               {"https://secure.example.cn/a", "https://secure.example.cn/a"},
               {"HTTP://www.example.cn", "HTTP://www.example.cn"},
               {"a & calc.exe", "http://a & calc.exe"}};
  for (const Open& o : opens) {
    f.yNetUrl->SetText(o.typed);
    f.btnNetUrl->Click();
    ASSERT_FALSE(shell_.opened.empty());
    EXPECT_EQ(shell_.opened.back(), std::make_pair(o.opened, std::string())) << o.typed;
  }
  EXPECT_TRUE(shell_.started.empty()) << "never a command line";
  dialogs_.calls.clear();
  f.yNetUrl->SetText("");
  f.btnNetUrl->Click();
  EXPECT_EQ(Boxes(), "网址不能为空");
  Page(0);
  f.yNetAddress->SetText("admin.example.cn");
  f.btnTransNet->Click();
  EXPECT_EQ(shell_.opened.back().first, "http://admin.example.cn");
}

TEST_F(SaveNetFrmTest, FtpAccountsKeepTheirPort) {
  TSaveNetFrm& f = *frm_;
  Page(2);
  Save({{f.yFtpName, "站点"}, {f.yFtpAddress, "ftp.example.cn"}, {f.yFtpPort, "2121"}, {f.yFtpUserName, "up"},
        {f.yFtpPassword, "pw"}, {f.yOkFtpPass, "pw"}});
  EXPECT_EQ(Boxes(), "是否新增记录?|保存成功");
  EXPECT_EQ(Rows(f.yListViewFtp), std::vector<std::string>{"站点|ftp.example.cn|up|pw|" + IsoDay(0) + "|2121"});
  EXPECT_EQ(f.yFtpPort->Text(), "");
  Save({{f.yFtpName, "x"}, {f.yFtpAddress, "y"}, {f.yFtpUserName, "z"}, {f.yFtpPassword, "1"}, {f.yOkFtpPass, "2"}});
  EXPECT_EQ(Boxes(), "Ftp密码不一致，请重新输入");
  Select(f.yListViewFtp, 0);
  f.yListViewFtpClick(&f);
  EXPECT_EQ(f.yFtpPort->Text(), "2121") << "from the sixth column";
  EXPECT_EQ(f.yOkFtpPass->Text(), "pw");
  Save({{f.yFtpPort, "21"}});
  EXPECT_EQ(Boxes(), "是否修改记录?|修改成功");
  EXPECT_EQ(Stored(2)[0].Port, "21");
  // A page change empties the page's edits but keeps the port.
  f.yFtpPort->SetText("990");
  f.yFtpName->SetText("n");
  Page(2);
  EXPECT_EQ(f.yFtpName->Text(), "");
  EXPECT_EQ(f.yFtpPort->Text(), "990");
  f.btnCancel->Click();
  EXPECT_EQ(f.yFtpPort->Text(), "");
}

TEST_F(SaveNetFrmTest, BackEndListIsSortedByNameAndColumnClicksAlternateDirection) {
  TSaveNetFrm& f = *frm_;
  for (const char* name : {"b-site", "A-site", "c-site"})
    Save({{f.yNetSiteName, name}, {f.yNetAddress, std::string("http://") + name}, {f.yUserName, "u"},
          {f.yUserPass, "p"}, {f.yOkPass, "p"}});
  auto names = [&](TListView* l) {
    std::vector<std::string> v;
    for (int i = 0; i < l->Count(); ++i) v.push_back(l->Items(i)->Caption());
    return v;
  };
  EXPECT_EQ(names(f.yListNetBackUrl), (std::vector<std::string>{"A-site", "b-site", "c-site"}));
  // The first click of the run sorts descending, the next (on any list) ascending.
  f.yListNetBackUrlColumnClick(&f, 1);
  EXPECT_EQ(names(f.yListNetBackUrl), (std::vector<std::string>{"c-site", "b-site", "A-site"}));
  Page(1);
  Save({{f.yNetName, "z"}, {f.yNetUrl, "z"}});
  f.yListViewNetUrlColumnClick(&f, 0);
  f.yListNetBackUrlColumnClick(&f, 0);
  EXPECT_EQ(names(f.yListNetBackUrl), (std::vector<std::string>{"c-site", "b-site", "A-site"}));
  f.yListNetBackUrlColumnClick(&f, 0);
  EXPECT_EQ(names(f.yListNetBackUrl), (std::vector<std::string>{"A-site", "b-site", "c-site"}));
  // Rows keep their ids through a sort: taking one fills the edits of that row.
  Page(0);
  Select(f.yListNetBackUrl, 2);
  f.yListNetBackUrlClick(&f);
  EXPECT_EQ(f.yNetAddress->Text(), "http://c-site");
  WebToolsWorld::Screenshot(f.Handle(), "saved-addresses.bmp");
}

}  // namespace
