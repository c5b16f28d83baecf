// The chat window in-process against the stand-in server: sending and its checks, fonts
// from and to the ini file, received blocks and copy-data texts, history on close, keys.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <atomic>
#include <functional>
#include <thread>

#include "client/ChatWindows.h"
#include "client/MessageBlock.h"
#include "client/uChatFrm.h"
#include "core/uDataOperate.h"
#include "core/uSettings.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/SysUtils.h"
#include "tests/client/ChatWorld.h"
#include "tests/client/ClientProcess.h"

using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

class ChatFrmTest : public ChatWorld {
 protected:
  // A chat window with an enterprise friend (or customer), as the main window makes it.
  TChatFrm* Open(const std::string& number = "10002", bool enterpriseFriend = true) {
    TChatFrm* f = CreateForm<TChatFrm>(nullptr);
    f->SetPartner(number, "演示二号", enterpriseFriend);
    return f;
  }
  void Close(TChatFrm* f) {
    f->Close();
    PumpUntil([&] { return chat_windows::Find(f->FriendNumber, f->FriendFlag == 1) == nullptr; });
  }
  static std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
  }
  // The attributes of the characters [start, start + len) of a rich edit.
  static TTextAttributes AttributesAt(TRichEdit* e, int start, int len) {
    SendMessageA(e->Handle(), EM_SETSEL, start, start + len);
    return e->SelAttributes();
  }
  static LRESULT SendCopyData(HWND to, const void* data, DWORD size, UINT msg = WM_COPYDATA) {
    COPYDATASTRUCT cds{0, size, const_cast<void*>(data)};
    return SendMessageA(to, msg, 0, (LPARAM)&cds);
  }
  // How many pixels of what the screen shows of `window` lie near `colour` (a COLORREF).
  static int ScreenPixelsNear(HWND window, COLORREF colour) {
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    int count = 0;
    const auto* px = static_cast<const uint8_t*>(bits);
    for (int i = 0; bits && i < w * h; ++i) {
      int db = px[4 * i] - GetBValue(colour), dg = px[4 * i + 1] - GetGValue(colour), dr = px[4 * i + 2] - GetRValue(colour);
      count += db * db + dg * dg + dr * dr < 40 * 40;
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return count;
  }
  std::string LastChatBody() { return server_.RequestsOf(proto::ChatSend).back().Frame.Body; }
};

TEST_F(ChatFrmTest, SendChecksTheLimitThePartnerTheTextAndTheConnection) {
  TChatFrm* f = Open();
  EXPECT_EQ(f->Caption(), "与企业好友10002交流中");
  EXPECT_EQ(chat_windows::Find("10002", true), f);
  EXPECT_EQ(f->lblMsgLength->Caption(), "最大字符长度:80");

  // 41 Chinese characters are 82 bytes: refused, nothing sent, the text stays.
  f->ySendContent->SetText(Repeat("好", 41));
  f->btnSend->Click();
  EXPECT_NE(Boxes().find("发送内容不能超过80字符"), std::string::npos) << Boxes();
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::ChatSend), 0u);
  EXPECT_EQ(f->ySendContent->Text(), Repeat("好", 41));

  // Empty text and missing partner have their own messages.
  f->ySendContent->SetText("");
  f->btnSend->Click();
  EXPECT_NE(Boxes().find("发送内容不能为空"), std::string::npos);
  f->FriendNumber.clear();
  f->ySendContent->SetText("x");
  f->btnSend->Click();
  EXPECT_NE(Boxes().find("接收人不能为空"), std::string::npos);
  f->FriendNumber = "10002";

  // Offline: nothing is sent or shown and the text stays in the box.
  IsConnected = false;
  f->btnSend->Click();
  PumpFor(100);
  EXPECT_EQ(server_.CountOf(proto::ChatSend), 0u);
  EXPECT_EQ(f->yReceiveContent->Text(), "");
  EXPECT_EQ(f->ySendContent->Text(), "x");
  IsConnected = true;

  // Exactly 80 bytes go out.
  f->ySendContent->SetText(Repeat("好", 40));
  f->btnSend->Click();
  ASSERT_TRUE(ServerGot(proto::ChatSend));
  EXPECT_NE(LastChatBody().find(Repeat("好", 40)), std::string::npos);
  EXPECT_EQ(f->ySendContent->Text(), "");
  TComponent::Free(f);
}

TEST_F(ChatFrmTest, ASentMessageIsTrimmedAndShownInTheChosenFont) {
  TChatFrm* f = Open();
  f->yComFontSize->SetItemIndex(f->yComFontSize->Items().IndexOf("14"));
  f->yComFontSizeClick(f->yComFontSize);
  // The colour dialog is answered with OK while it is open.
  WhilePumping([] {
    auto box = (HWND)testing_support::FindOwnWindow("#32770");
    if (!box) return false;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return true;
  });
  f->ColorDialog->SetColor(0x0000C0);
  f->yComFontCorlorClick(f->yComFontCorlor);
  EXPECT_EQ(f->ChosenFontColor(), 0x0000C0);

  f->ySendContent->SetText("  第一行  \r\n second ");
  f->btnSend->Click();
  ASSERT_TRUE(ServerGot(proto::ChatSend));
  std::string body = LastChatBody();
  EXPECT_NE(body.find("第一行\r\nsecond"), std::string::npos);
  EXPECT_NE(body.find("10002"), std::string::npos);

  std::string shown = f->yReceiveContent->Text();
  std::string header = ServiceClient->OwnName + "  ";
  ASSERT_EQ(shown.compare(0, header.size(), header), 0) << shown;
  EXPECT_NE(shown.find("\r\n    第一行\r\n    second"), std::string::npos) << shown;
  TTextAttributes a = AttributesAt(f->yReceiveContent, 2, 3);
  EXPECT_EQ(a.Size, 14);
  EXPECT_EQ(a.Color, 0x0000C0);
  EXPECT_EQ(a.Name, f->ChosenFontName());
  TComponent::Free(f);
}

TEST_F(ChatFrmTest, FontsComeFromTheIniFileAndGoBackOnClose) {
  IniFile->WriteString("Font", "FontName", "NoSuchFontAnywhere");
  IniFile->WriteString("Font", "FontSize", "9");
  IniFile->WriteString("Font", "FontColor", "32768");
  TChatFrm* f = Open();
  EXPECT_EQ(f->yComFontSize->Text(), "9");
  EXPECT_EQ(f->ChosenFontColor(), 32768);
  EXPECT_EQ(f->Width(), 378);

  // The list: "Default" among the screen's families, sorted, no neighbours repeated; an
  // unknown name selects the first entry.
  f->FillFontList("NoSuchFontAnywhere");
  auto items = f->yFont->Items().ToVector();
  ASSERT_GT(items.size(), 1u);
  EXPECT_NE(std::find(items.begin(), items.end(), "Default"), items.end());
  for (size_t i = 1; i < items.size(); ++i) EXPECT_LE(sys::LowerCase(items[i - 1]), sys::LowerCase(items[i]));
  EXPECT_EQ(f->yFont->ItemIndex(), 0);
  f->FillFontList("Default");
  EXPECT_EQ(f->yFont->Text(), "Default");

  // The font bar opens and closes; an unknown font name becomes the list's first entry.
  f->btnFontSizeClick(f->btnFontSize);
  EXPECT_TRUE(f->Panel3->Visible());
  EXPECT_EQ(f->ChosenFontName(), items[0]);
  f->btnFontSizeClick(f->btnFontSize);
  EXPECT_FALSE(f->Panel3->Visible());

  f->yComFontSize->SetItemIndex(f->yComFontSize->Items().IndexOf("16"));
  f->yComFontSizeClick(f->yComFontSize);
  EXPECT_EQ(f->ySendContent->SelAttributes().Size, 16);
  Close(f);
  TIniFile ini(dir_.File("Client.ini"));
  EXPECT_EQ(ini.ReadString("Font", "FontSize", ""), "16");
  EXPECT_EQ(ini.ReadString("Font", "FontName", ""), items[0]);
  EXPECT_EQ(ini.ReadString("Font", "FontColor", ""), "32768");
}

TEST_F(ChatFrmTest, ReceivedBlocksAreShownInTheirFont) {
  TChatFrm* f = Open();
  HWND h = f->Handle();
  TMessageBlock online{"演示二号", 1, 1, dt::Now(), BuildFormattedText(12, "宋体", 0xFF0000, " 你好 \r\n world")};
  EXPECT_EQ(SendMessageBlock(h, BuildMessageBlock(online)), 1);
  TMessageBlock offline{"演示二号", 1, 0, dt::EncodeDate(2026, 3, 4) + 0.5, BuildFormattedText(10, "宋体", 0, "留言")};
  SendMessageBlock(h, BuildMessageBlock(offline));
  TMessageBlock customer{"20001", 0, 1, dt::Now(), BuildCustomerFormattedText(11, "宋体", "255", "问一下\r价格")};
  SendMessageBlock(h, BuildMessageBlock(customer));

  std::string shown = f->yReceiveContent->Text();
  EXPECT_EQ(shown.find("演示二号  "), 0u) << shown;
  EXPECT_NE(shown.find("\r\n    你好\r\n    world\r\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("2026-03-04 12:00:00(离线留言)\r\n    留言"), std::string::npos) << shown;
  EXPECT_NE(shown.find("咨询客户20001  "), std::string::npos) << shown;
  EXPECT_NE(shown.find("\r\n    问一下\r\n    价格"), std::string::npos) << shown;
  TTextAttributes a = AttributesAt(f->yReceiveContent, 0, 2);
  EXPECT_EQ(a.Color, 0xFF0000);
  EXPECT_EQ(a.Size, 12);
  EXPECT_EQ(AttributesAt(f->yReceiveContent, f->yReceiveContent->TextLength() - 2, 2).Color, 255);

  // A block whose lengths point past its record is dropped whole.
  std::string bad = BuildMessageBlock(online);
  int before = f->yReceiveContent->TextLength();
  EXPECT_EQ(SendCopyData(h, bad.data(), DWORD(bad.size() - 1), kChatBlockMessage), 0);
  EXPECT_EQ(SendCopyData(h, bad.data(), 5, kChatBlockMessage), 0);
  EXPECT_EQ(SendMessageA(h, kChatBlockMessage, 0, 0), 0);
  EXPECT_EQ(f->yReceiveContent->TextLength(), before);
  TComponent::Free(f);
}

TEST_F(ChatFrmTest, CopyDataTextIsReadWithinItsStatedSize) {
  TChatFrm* f = Open();
  HWND h = f->Handle();
  const char text[] = "系统消息";
  EXPECT_EQ(SendCopyData(h, text, sizeof text), 1);
  EXPECT_EQ(f->yReceiveContent->Text(), "系统消息");
  // No terminator inside the stated size: only those bytes, nothing beyond.
  const char unterminated[] = {'a', 'b', 'c', 'd', 'e', 'f'};
  EXPECT_EQ(SendCopyData(h, unterminated, 3), 1);
  EXPECT_EQ(f->yReceiveContent->Text(), "系统消息\r\nabc");
  // A terminator early cuts the text there; an empty record adds nothing.
  const char early[] = {'x', 'y', 0, 'z', 'z'};
  SendCopyData(h, early, sizeof early);
  EXPECT_EQ(SendCopyData(h, early, 0), 0);
  EXPECT_EQ(f->yReceiveContent->Text(), "系统消息\r\nabc\r\nxy");
  // The reserved offline message, from the program's own hand-over: its first line only.
  EXPECT_EQ(SendOfflineChatLine(h, "离线一行\r\n第二行"), 1);
  EXPECT_EQ(f->yReceiveContent->Text(), "系统消息\r\nabc\r\nxy\r\n离线一行");
  TComponent::Free(f);
}

TEST_F(ChatFrmTest, ClosingStoresEveryLineAndTheHistoryPaneShowsThem) {
  TChatFrm* f = Open();
  f->ySendContent->SetText("第一条");
  f->btnSend->Click();
  TMessageBlock m{"演示二号", 1, 1, dt::Now(), BuildFormattedText(10, "宋体", 0, "第二条")};
  SendMessageBlock(f->Handle(), BuildMessageBlock(m));
  m.Formatted = BuildFormattedText(10, "宋体", 0, "第三条");
  SendMessageBlock(f->Handle(), BuildMessageBlock(m));
  std::vector<std::string> lines;
  for (const auto& it : f->yReceiveContent->Lines()) lines.push_back(it.text);
  ASSERT_EQ(lines.size(), 6u);  // three headers, three texts
  Close(f);

  std::vector<TChatRecord> stored;
  Data->ReadChatMsg("10002", stored);
  ASSERT_EQ(stored.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(stored[i].ChatMsg, lines[i]);

  // A new window with the partner shows them in its history pane.
  f = Open();
  f->btnShowRecordClick(f->btnShowRecord);
  EXPECT_EQ(f->Width(), 807);
  EXPECT_EQ(f->btnShowRecord->Caption(), "关闭记录");
  EXPECT_NE(f->yRichHistory->Text().find("    第三条"), std::string::npos);
  f->btnShowRecordClick(f->btnShowRecord);
  EXPECT_EQ(f->Width(), 382);
  EXPECT_EQ(f->btnShowRecord->Caption(), "历史记录");
  TComponent::Free(f);
}

TEST_F(ChatFrmTest, CtrlEnterSendsAndPlainEnterDoesNot) {
  TChatFrm* f = Open();
  f->ySendContent->SetText("按键");
  HWND box = f->ySendContent->Handle();
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  PumpFor(150);
  EXPECT_EQ(server_.CountOf(proto::ChatSend), 0u);
  f->ySendContent->SetText("按键");
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(box, WM_CHAR, '\n', 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_TRUE(ServerGot(proto::ChatSend));
  EXPECT_NE(LastChatBody().find("按键"), std::string::npos);
  EXPECT_EQ(f->ySendContent->Text(), "");
  TComponent::Free(f);
}

TEST_F(ChatFrmTest, OnlyTheWindowTheGlobalNamesClearsIt) {
  TChatFrm* first = Open("10002");
  TChatFrm* second = Open("20001", false);
  ChatFrm = second;
  TComponent::Free(first);
  EXPECT_EQ(ChatFrm, second);
  EXPECT_EQ(chat_windows::Find("10002", true), nullptr);
  TComponent::Free(second);
  EXPECT_EQ(ChatFrm, nullptr);
}

TEST_F(ChatFrmTest, Screenshot) {
  TChatFrm* f = Open();
  SetWindowPos(f->Handle(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  struct {
    const char* text;
    uint32_t colour;
    uint8_t size;
  } msgs[] = {{"您好，请问贵公司的机床还有现货吗？", 0x0000C0, 10},
              {"有的，型号齐全，欢迎来电咨询。", 0x008000, 12},
              {"好的，稍后联系。", 0xC00000, 11}};
  for (const auto& m : msgs) {
    TMessageBlock b{"演示二号", 1, 1, dt::Now(), BuildFormattedText(m.size, "宋体", m.colour, m.text)};
    SendMessageBlock(f->Handle(), BuildMessageBlock(b));
  }
  f->ySendContent->SetText("收到，谢谢！");
  f->btnSend->Click();
  ServerGot(proto::ChatSend);
  PumpFor(300);
  // What the screen shows of the conversation holds each message's colour, so the picture is
  // of the window with its messages and not of whatever covers it.
  for (const auto& m : msgs) EXPECT_GE(ScreenPixelsNear(f->yReceiveContent->Handle(), m.colour), 5) << m.text;
  std::string dir = client_test::BinFolder() + "..\\screenshots\\";
  sys::ForceDirectories(dir);
  EXPECT_TRUE(client_test::SaveWindowShot(f->Handle(), dir + "chat.png"));
  TComponent::Free(f);
}

}  // namespace

// Messages 10001 and 10000 carry a bare pointer: the window takes them only from this
// program's own hand-over on its own thread, never from another thread, a record of its own
// making or a posted message with a junk parameter.
TEST_F(ChatFrmTest, PointerMessagesAreTakenOnlyFromTheProgramsOwnHandOver) {
  TChatFrm* f = Open();
  HWND h = f->Handle();
  std::string block =
      BuildMessageBlock(TMessageBlock{"演示二号", 1, 1, dt::Now(), BuildFormattedText(12, "宋体", 0, "本程序")});
  std::string line = std::string("离线留言一行") + '\0';
  struct Case {
    UINT message;
    const std::string& bytes;
    std::function<LRESULT()> handOver;
    const char* shows;
  } cases[] = {
      {kChatBlockMessage, block, [&] { return SendMessageBlock(h, block); }, "本程序"},
      {kChatOfflineMessage, line, [&] { return SendOfflineChatLine(h, "离线留言一行"); }, "离线留言一行"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    COPYDATASTRUCT cds{kChatBlockKind, DWORD(c.bytes.size()), const_cast<char*>(c.bytes.data())};
    int before = f->yReceiveContent->TextLength();
    std::atomic<LRESULT> fromThread{-1};
    std::thread other([&] { fromThread = SendMessageA(h, c.message, 0, (LPARAM)&cds); });
    EXPECT_TRUE(PumpUntil([&] { return fromThread != -1; }));
    other.join();
    EXPECT_EQ(fromThread, 0);
    EXPECT_EQ(SendMessageA(h, c.message, 0, (LPARAM)&cds), 0);
    PostMessageA(h, c.message, 0, 0x1234);
    PumpFor(100);
    EXPECT_EQ(f->yReceiveContent->TextLength(), before);
    EXPECT_EQ(c.handOver(), 1);
    EXPECT_NE(f->yReceiveContent->Text().find(c.shows), std::string::npos);
  }
  TComponent::Free(f);
}
