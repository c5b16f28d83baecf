// The offline-messages window in-process: it takes the customers' offline entries out of the
// waiting list, the last received first, one row per line, and leaves every other entry.
#include <gtest/gtest.h>

#include "client/uMsgHistory.h"
#include "core/uSocketSvrClient.h"
#include "platform/rtl/DateTime.h"
#include "tests/client/ChatWorld.h"

namespace {

class MsgHistoryTest : public ChatWorld {};

TReceivedMsg Entry(const std::string& sender, const std::string& text, TDateTime time, uint8_t offline, uint8_t kind) {
  TReceivedMsg m;
  m.Sender = sender;
  m.Text = text;
  m.Time = time;
  m.Flag = offline;
  m.Kind = kind;
  return m;
}

}  // namespace

TEST_F(MsgHistoryTest, ShowsOfflineCustomerEntriesLastFirstAndLeavesTheRest) {
  TDateTime t1 = dt::EncodeDate(2026, 3, 1) + 0.5, t2 = dt::EncodeDate(2026, 3, 2);
  auto& waiting = ServiceClient->UserManager->ReceiveMsgList;
  waiting = {Entry("777", "一\r 二 \r三", t1, 1, 0), Entry("555", "live block", t1, 0, 0), Entry("10002", "", t1, 1, 1),
             Entry("778", "后来的", t2, 1, 0)};
  TOwned<TMsgHistoryFrm> f(CreateForm<TMsgHistoryFrm>(nullptr));
  f->Show();
  TListView* list = f->yListHistory;
  ASSERT_EQ(list->Count(), 4);
  struct Row {
    const char *seq, *sender, *line;
    TDateTime time;
  } rows[] = {{"1", "778", "后来的", t2}, {"2", "777", "一", t1}, {"2", "777", "二", t1}, {"2", "777", "三", t1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list->Items(i)->Caption(), rows[i].seq) << i;
    EXPECT_EQ(list->Items(i)->SubItem(0), rows[i].sender) << i;
    EXPECT_EQ(list->Items(i)->SubItem(1), rows[i].line) << i;
    EXPECT_EQ(list->Items(i)->SubItem(2), dt::DateTimeToStr(rows[i].time)) << i;
  }
  // The live entry and the friend's offline entry keep waiting, in their order.
  ASSERT_EQ(waiting.size(), 2u);
  EXPECT_EQ(waiting[0].Sender, "555");
  EXPECT_EQ(waiting[1].Sender, "10002");
  EXPECT_EQ(f->Caption(), "离线留言信息");
  EXPECT_EQ(list->ColumnCount(), 4);
}
