// The user lists and the offline-message queue.
#include <gtest/gtest.h>

#include "core/ReceiveMessage.h"
#include "core/UserManager.h"
#include "core/uHelpers.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TestSupport.h"

namespace {

TFriendRecord Friend(uint32_t number, const std::string& nick, uint8_t state = 0, const std::string& flags = "") {
  TFriendRecord r;
  r.SetNumber(number);
  r.SetNumberText(sys::IntToStr(number));
  r.SetNickName(nick);
  r.SetState(state);
  r.SetFlags(flags);
  return r;
}

void AddCustomer(TUserManager& m, const std::string& number) {
  CurrentMsg.Number = number;
  CurrentMsg.Name = "n" + number;
  m.AddUser();
}

std::vector<std::string> CustomerNumbers(const TUserManager& m) {
  std::vector<std::string> v;
  for (const auto& c : m.Customers) v.push_back(c.Number);
  return v;
}

}  // namespace

TEST(FriendRecord, FieldsLieAtTheirOffsets) {
  TFriendRecord r;
  r.SetCompanyName("Acme");
  r.SetNumberText("10001");
  r.SetNumber(0x01020304);
  r.SetNickName("昵称");
  r.SetWebAddress("http://a");
  r.SetEmail("e@a");
  r.SetState(1);
  r.SetFlags("1");
  const uint8_t* p = r.Data();
  EXPECT_EQ(p[0], 4);
  EXPECT_EQ(std::string((const char*)p + 1, 4), "Acme");
  EXPECT_EQ(p[50], 5);
  EXPECT_EQ(std::string((const char*)p + 51, 5), "10001");
  EXPECT_EQ(p[84], 0x04);
  EXPECT_EQ(p[87], 0x01);
  EXPECT_EQ(p[88], 4);  // two characters of code page 936
  EXPECT_EQ(p[118], 8);
  EXPECT_EQ(p[148], 3);
  EXPECT_EQ(p[178], 1);
  EXPECT_EQ(p[179], 1);
  EXPECT_EQ(p[180], '1');
  EXPECT_EQ(r.NickName(), "昵称");
  // A 30-byte field holds 29 bytes of text, cut on a character boundary.
  r.SetNickName(std::string(14, 'x') + "汉字汉字汉字汉字");  // 14 + 16 bytes
  EXPECT_EQ(r.NickName(), std::string(14, 'x') + "汉字汉字汉字汉");
  EXPECT_EQ(p[118], 8);  // the next field is untouched
}

TEST(UserManager, CustomersAreKeptOncePerNumberAndRemovedFromTheEnd) {
  TUserManager m;
  AddCustomer(m, "5");
  AddCustomer(m, "7");
  EXPECT_FALSE(m.AddUser());  // "7" again, now the second entry
  m.Customers.push_back({"5", "again", 0});  // a duplicate as the main window could leave it
  EXPECT_EQ(CustomerNumbers(m), (std::vector<std::string>{"5", "7", "5"}));
  EXPECT_TRUE(m.HasUser("7"));
  EXPECT_FALSE(m.HasUser("07"));  // customer numbers compare as exact text
  EXPECT_TRUE(m.RemoveUser("5"));
  EXPECT_EQ(m.Customers.back().Number, "7");
  EXPECT_EQ(m.Customers.front().Name, "n5");
  EXPECT_FALSE(m.RemoveUser("9"));
}

TEST(UserManager, AFriendListedAnywhereIsMarkedOnlineInsteadOfAdded) {
  TUserManager m;
  EXPECT_TRUE(m.AddEnterpriseFriend(Friend(1, "a")));
  EXPECT_TRUE(m.AddEnterpriseFriend(Friend(2, "b")));
  EXPECT_TRUE(m.AddEnterpriseFriend(Friend(3, "c")));
  EXPECT_FALSE(m.AddEnterpriseFriend(Friend(2, "b2", 0)));
  ASSERT_EQ(m.Friends.size(), 3u);
  EXPECT_EQ(m.Friends[1].State(), 1);
  EXPECT_EQ(m.Friends[1].NickName(), "b");
  EXPECT_FALSE(m.AddEnterpriseFriend(nullptr));
  EXPECT_FALSE(m.MarkFriendOnline("x1"));
  EXPECT_FALSE(TUserManager().MarkFriendOnline("1"));
}

TEST(UserManager, OfflineAndDeleteTouchEveryEntryOfANumber) {
  TUserManager m;
  m.Friends = {Friend(4, "a", 1), Friend(5, "b", 1), Friend(4, "a2", 1)};
  m.SetFriendOffline(4);
  EXPECT_EQ(m.Friends[0].State(), 0);
  EXPECT_EQ(m.Friends[1].State(), 1);
  EXPECT_EQ(m.Friends[2].State(), 0);
  m.SetDeleteFriend(4);
  ASSERT_EQ(m.Friends.size(), 1u);
  EXPECT_EQ(m.Friends[0].Number(), 5u);
}

TEST(UserManager, NameAndFlagLookupsLeaveTheValueForAnUnknownNumber) {
  TUserManager m;
  m.Friends = {Friend(10000, "客服", 1, "1"), Friend(10002, "two")};
  std::string name = "keep", flags = "keep";
  m.GetUserName("10001", name);
  m.GetUserFlags("10001", flags);
  EXPECT_EQ(name, "keep");
  EXPECT_EQ(flags, "keep");
  m.GetUserName("10000", name);
  m.GetUserFlags("10000", flags);
  EXPECT_EQ(name, "客服");
  EXPECT_EQ(flags, "1");
}

TEST(UserManager, ReceivedAndOfflineMessagesCopyTheCurrentRecords) {
  TUserManager m;
  CurrentMsg = {};
  CurrentMsg.Sender = "10002";
  CurrentMsg.Time = 45000.5;
  CurrentMsg.Flag = 1;
  CurrentMsg.Kind = 1;
  CurrentMsg.Second = 7;
  EXPECT_TRUE(m.AddReceiveMsg());  // empty text
  CurrentMsg.Text = std::string("\x05" "block\x00x", 8);
  EXPECT_TRUE(m.AddReceiveMsg());
  ASSERT_EQ(m.ReceiveMsgList.size(), 2u);
  EXPECT_EQ(m.ReceiveMsgList[0].TextLen(), 0);
  EXPECT_EQ(m.ReceiveMsgList[1].Text, CurrentMsg.Text);
  EXPECT_EQ(m.ReceiveMsgList[1].Extra, 7);
  EXPECT_EQ(m.ReceiveMsgList[1].Time, 45000.5);

  TReceiveBuffer q;
  CurrentOffline = {};
  CurrentOffline.Sender = "10001";
  CurrentOffline.Text = "block";
  CurrentOffline.Kind = 1;
  CurrentOffline.Second = 2;
  EXPECT_TRUE(q.Add());
  EXPECT_EQ(q.Count(), 1);
  EXPECT_EQ(q.Items[0].TextLen(), 5);
  EXPECT_EQ(q.Items[0].Second, 2);
  EXPECT_FALSE(q.Items[0].Shown);
}

TEST(UserManager, ANewSessionEmptiesTheServerListsButKeepsUnopenedMessages) {
  TUserManager m;
  AddCustomer(m, "5");
  m.AddEnterpriseFriend(Friend(1, "a"));
  m.Requests.emplace_back();
  m.AddReceiveMsg();
  m.ClearSessionLists();
  EXPECT_TRUE(m.Customers.empty());
  EXPECT_TRUE(m.Friends.empty());
  EXPECT_TRUE(m.Requests.empty());
  EXPECT_EQ(m.ReceiveMsgList.size(), 1u);
}
