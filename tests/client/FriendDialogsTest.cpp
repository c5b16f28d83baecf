// The friend dialogs in-process against the stand-in server: searching, sending a request
// with its text, the request as the other account sees it, refusing and accepting.
#include <gtest/gtest.h>

#include "client/uAllInfo.h"
#include "client/uFindFriend.h"
#include "client/uHintAddFriend.h"
#include "client/uPassAddFriend.h"
#include "core/uSettings.h"
#include "platform/forms/Screen.h"
#include "tests/client/ChatWorld.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

// The user list's friend of that number, or nullptr.
const TFriendRecord* ListedFriend(uint32_t number) {
  for (const TFriendRecord& f : ServiceClient->UserManager->Friends)
    if (f.Number() == number) return &f;
  return nullptr;
}

template <class T>
T* OpenForm() {
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (auto* f = dynamic_cast<T*>(Screen().Forms(i)); f && f->Showing()) return f;
  return nullptr;
}

class FriendDialogsTest : public ChatWorld {
 protected:
  // Searches and waits for the result panel.
  void Search(TFindFriendFrm* f, const std::string& account, const std::string& company) {
    size_t asked = server_.CountOf(proto::FindFriend);
    f->Panel5->SetVisible(false);
    f->yAccount->SetText(account);
    f->yCompanyName->SetText(company);
    f->btnFind->Click();
    ASSERT_TRUE(ServerGot(proto::FindFriend, asked + 1));
    ASSERT_TRUE(PumpUntil([&] { return f->Panel5->Visible(); }));
  }
};

TEST_F(FriendDialogsTest, SearchShowsTheResultsAndRefusesTheUserHimself) {
  TOwned<TFindFriendFrm> f(CreateForm<TFindFriendFrm>(nullptr));
  f->Show();
  EXPECT_TRUE(f->Panel2->Visible());
  EXPECT_EQ(f->yAccount->MaxLength(), 6);

  f->btnFind->Click();
  EXPECT_NE(Boxes().find("请至少输入一个查询条件"), std::string::npos);
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::FindFriend), 0u);

  // A company name alone goes out with an empty account text.
  Search(f.get(), "", "演示三");
  std::string body = server_.RequestsOf(proto::FindFriend)[0].Frame.Body;
  EXPECT_EQ(body, std::string("\0\0\x06", 3) + "演示三");
  EXPECT_FALSE(f->Panel2->Visible());
  ASSERT_EQ(f->yListFriend->Count(), 1);
  TListItem* row = f->yListFriend->Items(0);
  EXPECT_EQ(row->Caption(), "10003");
  EXPECT_EQ(row->SubItem(0), "卡维尔演示三公司");
  EXPECT_EQ(row->SubItem(1), "演示三号");
  EXPECT_EQ(row->SubItem(2), "(离线)");
  EXPECT_EQ(f->yListFriend->ItemIndex(), 0);
  EXPECT_EQ(f->yListFriend->ColumnCount(), 4);

  // Nothing found: an empty list with nothing selected.
  Search(f.get(), "", "没有这家");
  EXPECT_EQ(f->yListFriend->Count(), 0);
  EXPECT_EQ(f->yListFriend->Selected(), nullptr);
  f->btnAddFriendClick(f->btnAddFriend);  // no row: nothing happens

  // The user himself, online, is found but cannot be added; no dialog opens.
  Search(f.get(), "10001", "");
  ASSERT_EQ(f->yListFriend->Count(), 1);
  EXPECT_EQ(f->yListFriend->Items(0)->SubItem(2), "(在线)");
  f->btnAddFriendClick(f->btnAddFriend);
  EXPECT_NE(Boxes().find("不能添加自己为好友"), std::string::npos);
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::AddFriendRequest), 0u);

  f->btnBackClick(f->btnBack);
  EXPECT_TRUE(f->Panel2->Visible());
  EXPECT_FALSE(f->Panel5->Visible());

  // The dialog gives the server's events back when it goes.
  EXPECT_TRUE(ServiceClient->OnFindResult);
  f.reset();
  EXPECT_FALSE(ServiceClient->OnFindResult);
  EXPECT_FALSE(ServiceClient->OnAlreadyFriend);
}

TEST_F(FriendDialogsTest, ARequestReachesTheOtherAccountWhichRefusesThenAccepts) {
  std::unique_ptr<TServiceClient> other = LoggedInClient("10003");
  ASSERT_NE(other, nullptr);
  std::vector<std::string> requests;
  other->OnAddFriendRequest = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) {
    requests.emplace_back((const char*)f, held);
  });

  // From the search result through the send-request dialog: an empty text keeps it open.
  TOwned<TFindFriendFrm> find(CreateForm<TFindFriendFrm>(nullptr));
  find->Show();
  Search(find.get(), "10003", "");
  bool sawEmpty = false;
  WhilePumping([&] {
    TPassAddFrm* d = OpenForm<TPassAddFrm>();
    if (!d) return false;
    EXPECT_EQ(d->lblEnterpriseNubmer->Caption(), "10003");
    EXPECT_EQ(d->lblCompanyName->Caption(), "卡维尔演示三公司");
    if (!sawEmpty) {
      d->btnOk->Click();
      sawEmpty = Boxes().find("请输入验证信息") != std::string::npos;
      EXPECT_TRUE(d->Showing());
      return false;
    }
    d->yPassInfo->SetText("我是演示一号");
    d->btnOk->Click();
    return true;
  });
  find->btnAddFriendClick(find->btnAddFriend);
  EXPECT_TRUE(sawEmpty);
  // The server reads on its own thread: wait for it rather than race it.
  ASSERT_TRUE(ServerGot(proto::AddFriendRequest));
  EXPECT_EQ(server_.CountOf(proto::AddFriendRequest), 1u);
  EXPECT_EQ(server_.RequestsOf(proto::AddFriendRequest)[0].Frame.Body, "\x05" "10003" "\x0c" "我是演示一号");
  ASSERT_TRUE(PumpUntil([&] { return requests.size() == 1; }));

  // The other account's dialog, filled as its main window fills it.
  std::unique_ptr<TServiceClient> own = std::move(ServiceClient);
  ServiceClient = std::move(other);
  LoginData.Username = "10003";
  std::vector<std::string> refused, added;
  own->OnAddFriendRefused = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) { refused.emplace_back((const char*)f, held); });
  own->OnAddFriendToList = TPacketEvent([&](TObject*, const uint8_t* f, int32_t held) { added.emplace_back((const char*)f, held); });
  auto openRequest = [&](const std::string& frame) {
    auto* d = CreateForm<THinfAddFriendFrm>(nullptr);
    d->ShowRequest(ParseFriendRequest(TBody::OfFrame((const uint8_t*)frame.data(), frame.size())));
    d->Show();
    return d;
  };
  THinfAddFriendFrm* d = openRequest(requests[0]);
  EXPECT_EQ(d->MemoMsg->Text(), "我是演示一号");
  EXPECT_EQ(d->lblSource->Caption(), "10001");
  EXPECT_EQ(d->lblRequestTime->Caption().rfind("附加信息(", 0), 0u);
  EXPECT_TRUE(d->RAllow->Checked());
  d->rReNO->SetChecked(true);
  d->btnOkClick(d->btnOk);
  ASSERT_TRUE(ServerGot(proto::FriendRefuse));
  EXPECT_EQ(server_.RequestsOf(proto::FriendRefuse)[0].Frame.Body, "\x05" "10001" "\x05" "10003");
  ASSERT_TRUE(PumpUntil([&] { return refused.size() == 1; }));
  EXPECT_EQ(ParseAccount(TBody::OfFrame((const uint8_t*)refused[0].data(), refused[0].size())), 10003u);

  // Asked again and accepted: both sides become friends, the list and the hint follow.
  own->SendAddFriendRequest([] { TFriendRecord r; r.SetNumber(10003); return r; }(), "再试一次");
  ASSERT_TRUE(PumpUntil([&] { return requests.size() == 2; }));
  int hints = 0;
  ServiceClient->OnHint = TPacketEvent([&](TObject*, const uint8_t*, int32_t) { ++hints; });
  d = openRequest(requests[1]);
  d->btnOkClick(d->btnOk);
  ASSERT_TRUE(ServerGot(proto::FriendAccept));
  EXPECT_EQ(server_.RequestsOf(proto::FriendAccept)[0].Frame.Body, "\x05" "10003" "\x05" "10001");
  EXPECT_EQ(hints, 1);
  EXPECT_NE(ListedFriend(10001), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return added.size() == 1; }));
  EXPECT_EQ(ParseFriendRecord(TBody::OfFrame((const uint8_t*)added[0].data(), added[0].size())).Number(), 10003u);

  // A third request is answered by the server: already friends.
  ServiceClient.swap(own);
  LoginData.Username = "10001";
  find = TOwned<TFindFriendFrm>(CreateForm<TFindFriendFrm>(nullptr));
  WhilePumping([&] {
    TPassAddFrm* p = OpenForm<TPassAddFrm>();
    if (!p) return false;
    p->yPassInfo->SetText("第三次");
    p->btnOk->Click();
    return true;
  });
  find->Show();
  Search(find.get(), "10003", "");
  find->btnAddFriendClick(find->btnAddFriend);
  EXPECT_TRUE(PumpUntil([&] { return Boxes().find("10003已是您的好友无须再添加") != std::string::npos; })) << Boxes();
  own.reset();
}

TEST_F(FriendDialogsTest, AStoredRequestIsAnsweredWithItsOwnRecordAndShowsItsDetails) {
  TStoredRequest stored;
  stored.Requester = 10002;
  stored.Time = dt::EncodeDate(2026, 5, 6);
  stored.Text = "离线时的请求";
  stored.Record.SetNumber(10002);
  stored.Record.SetNickName("演示二号");
  stored.Record.SetCompanyName("卡维尔演示二公司");
  stored.Record.SetWebAddress("http://demo-two.example");
  stored.Record.SetEmail("two@demo-two.example");
  auto* d = CreateForm<THinfAddFriendFrm>(nullptr);
  HinfAddFriendFrm = d;
  d->ShowStoredRequest(stored);
  d->Show();
  EXPECT_EQ(d->lblRequestTime->Caption(), "附加信息(2026-05-06 00:00:00)");
  EXPECT_EQ(d->lblSource->Caption(), "10002");

  // The details window shows the stored record.
  std::string shown;
  WhilePumping([&] {
    TAllInfoFrm* info = OpenForm<TAllInfoFrm>();
    if (!info) return false;
    shown = info->yUserNubmer->Caption() + "|" + info->yNickName->Caption() + "|" + info->yCompanyName->Caption() +
            "|" + info->yurl->Caption() + "|" + info->yEmail->Caption();
    info->Close();
    return true;
  });
  d->lblSourceClick(d->lblSource);
  EXPECT_EQ(shown, "10002|演示二号|卡维尔演示二公司|http://demo-two.example|two@demo-two.example");

  ServiceClient->UserManager->Friends.clear();
  d->btnOkClick(d->btnOk);
  ASSERT_TRUE(ServerGot(proto::FriendAccept));
  const TFriendRecord* added = ListedFriend(10002);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->NickName(), "演示二号");
  // Closing freed the dialog, which cleared the global that named it.
  EXPECT_TRUE(PumpUntil([] { return HinfAddFriendFrm == nullptr; }));
}

}  // namespace
