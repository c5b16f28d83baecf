// The message block and the list of open chat windows, in-process: the builder stays inside
// its buffer, the reader refuses every length that points past its bytes, and a chat window
// is found only among the program's own windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "client/ChatWindows.h"
#include "client/MessageBlock.h"
#include "core/WireFormat.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/SysUtils.h"

namespace {

TMessageBlock FriendBlock(const std::string& name, const std::string& text) {
  TMessageBlock b;
  b.DisplayName = name;
  b.Friend = 1;
  b.Online = 1;
  b.Time = 46000.25;
  b.Formatted = BuildFormattedText(12, "宋体", 0x00FF00, text);
  return b;
}

}  // namespace

TEST(MessageBlock, RoundTripKeepsEveryFieldAndTheLayout) {
  TMessageBlock b = FriendBlock("演示二号", "你好\r\n第二行");
  std::string bytes = BuildMessageBlock(b);
  ASSERT_EQ(bytes.size(), b.DisplayName.size() + b.Formatted.size() + 15);
  EXPECT_EQ(uint8_t(bytes[0]), b.DisplayName.size());
  EXPECT_EQ(ReadU32(reinterpret_cast<const uint8_t*>(bytes.data()) + b.DisplayName.size() + 11), b.Formatted.size());
  auto back = ReadMessageBlock(bytes.data(), bytes.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->DisplayName, b.DisplayName);
  EXPECT_EQ(back->Friend, 1);
  EXPECT_EQ(back->Online, 1);
  EXPECT_EQ(back->Time, b.Time);
  auto text = ReadBlockText(*back);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->FontSize, 12);
  EXPECT_EQ(text->FontName, "宋体");
  EXPECT_EQ(text->Colour, 0x00FF00u);
  EXPECT_EQ(text->Text, "你好\r\n第二行");

  // A customer's colour is a decimal text.
  TMessageBlock c;
  c.DisplayName = "555";
  c.Formatted = BuildCustomerFormattedText(9, "Arial", "255", "hi");
  auto ct = ReadBlockText(*ReadMessageBlock(BuildMessageBlock(c).data(), BuildMessageBlock(c).size()));
  ASSERT_TRUE(ct);
  EXPECT_EQ(ct->Colour, 255u);
  EXPECT_EQ(ct->Text, "hi");
}

TEST(MessageBlock, TheBuilderNeverWritesPastItsBuffer) {
  // Exactly full fits; one byte more is refused and the buffer is untouched.
  TMessageBlock b;
  b.DisplayName = "n";
  b.Formatted = std::string(kMessageBlockCapacity - 16, 'x');
  EXPECT_EQ(BuildMessageBlock(b).size(), kMessageBlockCapacity);
  b.Formatted += 'x';
  EXPECT_THROW(BuildMessageBlock(b), EMalformedBody);
  std::vector<char> small(40, '\x7f');
  EXPECT_THROW(WriteMessageBlock(FriendBlock("name", std::string(30, 'y')), small.data(), small.size()),
               EMalformedBody);
  EXPECT_EQ(small, std::vector<char>(40, '\x7f'));

  // A name longer than a length byte can say is cut on a character boundary.
  std::string longName;
  for (int i = 0; i < 200; ++i) longName += "号";
  TMessageBlock n = FriendBlock(longName, "t");
  auto back = ReadMessageBlock(BuildMessageBlock(n).data(), BuildMessageBlock(n).size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->DisplayName.size(), 254u);
  EXPECT_EQ(back->DisplayName, longName.substr(0, 254));
}

TEST(MessageBlock, TheReaderRefusesLengthsPastItsBytes) {
  std::string bytes = BuildMessageBlock(FriendBlock("abc", "text"));
  for (size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_FALSE(ReadMessageBlock(bytes.data(), cut)) << cut;
  EXPECT_FALSE(ReadMessageBlock(nullptr, 10));
  struct Case {
    const char* what;
    size_t at;
    uint8_t value;
  } cases[] = {
      {"name length past the end", 0, 250}, {"text length past the end", 3 + 11 + 3, 0x7f},  // high byte of T
  };
  for (const auto& c : cases) {
    std::string bad = bytes;
    bad[c.at] = char(c.value);
    EXPECT_FALSE(ReadMessageBlock(bad.data(), bad.size())) << c.what;
  }
  // A formatted text that lies about its own lengths is malformed, not read past.
  TMessageBlock b = FriendBlock("abc", "text");
  b.Formatted[1] = char(200);
  EXPECT_FALSE(ReadBlockText(*ReadMessageBlock(BuildMessageBlock(b).data(), BuildMessageBlock(b).size())));
}

namespace {
std::string g_received;
ULONG_PTR g_kind = 0;
LRESULT CALLBACK Receiver(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == kChatBlockMessage) {
    auto* cds = reinterpret_cast<COPYDATASTRUCT*>(l);
    g_kind = cds->dwData;
    g_received.assign(static_cast<const char*>(cds->lpData), cds->cbData);
    return 1;
  }
  return DefWindowProcA(h, msg, w, l);
}
}  // namespace

TEST(MessageBlock, SendsTheBlockAsMessage10001WithACopyDataRecord) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Receiver;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KarvBlockReceiver";
  RegisterClassA(&wc);
  HWND h = CreateWindowA("KarvBlockReceiver", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(h, nullptr);
  std::string block = BuildMessageBlock(FriendBlock("x", "y"));
  EXPECT_EQ(SendMessageBlock(h, block), 1);
  EXPECT_EQ(g_received, block);
  EXPECT_EQ(g_kind, kChatBlockKind);
  DestroyWindow(h);
}

TEST(ChatWindows, FindsOnlyTheProgramsOwnWindowsByCaption) {
  EXPECT_EQ(GetChatCaption("10002", true), "与企业好友10002交流中");
  EXPECT_EQ(GetChatCaption("555", false), "与咨询客户555交流中");
  // Another process's window (here: a plain system window) with the caption answers nothing.
  HWND foreign = CreateWindowA("STATIC", GetChatCaption("10002", true).c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(chat_windows::Find("10002", true), nullptr);

  TForm a(nullptr), b(nullptr);
  a.SetCaption(GetChatCaption("10002", true));
  b.SetCaption(GetChatCaption("10002", false));
  chat_windows::Register(&a);
  chat_windows::Register(&b);
  chat_windows::Register(&a);
  EXPECT_EQ(chat_windows::All().size(), 2u);
  EXPECT_EQ(chat_windows::Find("10002", true), &a);
  EXPECT_EQ(chat_windows::Find("10002", false), &b);
  EXPECT_EQ(chat_windows::Find("1000", true), nullptr);

  // The last-created reference is cleared only by the window it names.
  ChatFrm = &b;
  chat_windows::Unregister(&a);
  EXPECT_EQ(ChatFrm, &b);
  EXPECT_EQ(chat_windows::Find("10002", true), nullptr);
  chat_windows::Unregister(&b);
  EXPECT_EQ(ChatFrm, nullptr);
  EXPECT_TRUE(chat_windows::All().empty());
  DestroyWindow(foreign);
}

// Error lines show a short readable start of a message, never its whole body.
TEST(MessageBlock, LogExcerptsAreShortAndReadable) {
  std::string longText;
  for (int i = 0; i < 3000; ++i) longText += "长";
  struct Case {
    const char* what;
    std::string excerpt;
    std::string expect;
  } cases[] = {
      {"plain", LogExcerpt("你好"), "你好"},
      {"control bytes", LogExcerpt(std::string("a\r\nb\0c\x01", 7)), "a  b c "},
      {"long, cut between characters", LogExcerpt(longText), longText.substr(0, kLogExcerptBytes)},
      {"odd bound", LogExcerpt("x" + longText), "x" + longText.substr(0, kLogExcerptBytes - 2)},
      {"formatted", FormattedLogExcerpt(BuildFormattedText(12, "宋体", 0xFF, "第一行\r\n第二行"), false),
       "第一行  第二行"},
      {"customer's", FormattedLogExcerpt(BuildCustomerFormattedText(9, "宋体", "255", "问价"), true), "问价"},
      {"malformed", FormattedLogExcerpt(std::string("\x05" "ab", 3), false), " ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.excerpt, c.expect) << c.what;
  EXPECT_EQ(FormattedLogExcerpt(BuildFormattedText(12, "宋体", 0, longText), false).size(), kLogExcerptBytes);
}
