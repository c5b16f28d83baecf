// The chat window; see uChatFrm.h. Every message that reaches it from outside (10001,
// WM_COPYDATA) is read only within the size its copy-data record states.
#include "client/uChatFrm.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "client/ChatWindows.h"
#include "client/MessageBlock.h"
#include "core/uDataOperate.h"
#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "core/uSocketSvrClient.h"
#include "platform/forms/ScreenFonts.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"

namespace {
constexpr int kNarrowWidth = 378, kHistoryClosedWidth = 382, kHistoryOpenWidth = 807;
// The most bytes of the reserved offline-message line.
constexpr size_t kOfflineLineMax = 500;
const char* const kShowRecord = "历史记录";
const char* const kCloseRecord = "关闭记录";

// The zero-terminated text of a copy-data record: up to its terminator and never past the
// size the record states; nothing for an empty or missing record.
std::optional<std::string> CopyDataText(TMessage& m) {
  m.Result = 0;
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(m.LParam);
  if (!cds || !cds->lpData || cds->cbData == 0) return std::nullopt;
  const char* p = static_cast<const char*>(cds->lpData);
  return std::string(p, strnlen(p, cds->cbData));
}
}  // namespace

TChatFrm::TChatFrm(TComponent* owner) : TForm(owner) { chat_windows::Register(this); }

TChatFrm::~TChatFrm() { chat_windows::Unregister(this); }

TPublishedTable TChatFrm::Published() {
  using F = TChatFrm;
  return {KARV_FIELDS(F, Panel4, Label1, ySenderName, Label3, yNickName, Panel1, GroupBox3),
          KARV_FIELDS(F, yReceiveContent, Panel3, Image2, yFont, yComFontSize, yComFontCorlor, GroupBox2),
          KARV_FIELDS(F, ySendContent, lblMsgLength, Label2, ycomUseChar, btnUseChar, btnFontSize, btnShowRecord),
          KARV_FIELDS(F, btnClose, btnSend, GroupBox1, yRichHistory, ColorDialog, ActionList1, Action1),
          KARV_HANDLERS(F, FormCreate, FormShow, FormClose),
          KARV_HANDLERS(F, FormCloseQuery, FormDestroy, FormKeyDown),
          KARV_HANDLERS(F, FormKeyPress, Action1Execute, btnUseCharClick),
          KARV_HANDLERS(F, btnShowRecordClick, btnCloseClick, btnFontSizeClick),
          KARV_HANDLERS(F, yFontClick, yComFontSizeClick, yComFontCorlorClick),
          KARV_HANDLERS(F, btnFontSizeMouseEnter, btnFontSizeMouseLeave, yComFontCorlorMouseEnter),
          KARV_HANDLERS(F, yComFontCorlorMouseLeave, ySendContentKeyDown, ySendContentKeyPress)};
}

HWND TChatFrm::ParentHandleForCreate() { return GetDesktopWindow(); }

void TChatFrm::SetPartner(const std::string& number, const std::string& nickName, bool enterpriseFriend) {
  FriendNumber = HistoryNumber = number;
  FriendFlag = enterpriseFriend ? 1 : 0;
  SetCaption(GetChatCaption(number, enterpriseFriend));
  ySenderName->SetCaption(number);
  yNickName->SetCaption(nickName);
}

// ---------------------------------------------------------------- creation and showing

void TChatFrm::FormCreate(TObject*) {
  if (PictureLib) Image2->LoadFromResource(PictureLib, "HENG");
  LoadGlyphResource(btnFontSize, PictureLib, "font");
  LoadGlyphResource(yComFontCorlor, PictureLib, "Corlor");
  lblMsgLength->SetCaption(sys::Format("最大字符长度:%s", "80"));
  // The window is visible from its creation on.
  Show();
}

void TChatFrm::FormShow(TObject*) {
  try {
    ColorDialog->SetColor(clBlack);
    fontColor_ = (TColor)sys::StrToIntDef(ReadIniString("Font", "FontColor", "0"), 0);
    fontName_ = ReadIniString("Font", "FontName", "宋体");
    fontSize_ = sys::StrToIntDef(ReadIniString("Font", "FontSize", "10"), 10);
    ySendContent->SetFocus();
    ySendContent->SetSelStart(ySendContent->SelStart() + 1);
    ySendContent->SetSelLength(0);
    ApplySendFont();
    SetWidth(kNarrowWidth);
    ycomUseChar->Items().Clear();
    if (ShortWords)
      for (const auto& w : *ShortWords)
        if (!w.text.empty()) ycomUseChar->Items().Add(w.text);
    fontNames_ = std::make_unique<TStringList>();
    yComFontSize->SetItemIndex(yComFontSize->Items().IndexOf(std::to_string(fontSize_)));
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TChatFrm.FormShow出错");
  }
}

// ---------------------------------------------------------------- fonts

TTextAttributes TChatFrm::ChosenAttributes() const {
  TTextAttributes a;
  a.Name = fontName_;
  a.Size = fontSize_;
  a.Color = fontColor_;
  return a;
}

void TChatFrm::ApplySendFont() {
  // The whole box and what is typed next take the choice.
  int caret = ySendContent->SelStart();
  ySendContent->SelectAll();
  ySendContent->SetSelAttributes(ChosenAttributes());
  ySendContent->SetSelStart(caret);
  ySendContent->SetSelAttributes(ChosenAttributes());
}

void TChatFrm::FillFontList(const std::string& name) {
  if (!fontNames_) fontNames_ = std::make_unique<TStringList>();
  fontNames_->Clear();
  fontNames_->Add("Default");
  // A family comes once per character set; neighbours that repeat are one entry.
  for (const std::string& family : EnumScreenFontFamilies())
    if (family != (*fontNames_)[fontNames_->Count() - 1]) fontNames_->Add(family);
  std::vector<std::string> sorted;
  for (const auto& it : *fontNames_) sorted.push_back(it.text);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const std::string& a, const std::string& b) { return sys::LowerCase(a) < sys::LowerCase(b); });
  yFont->Items().Assign(sorted);
  int index = yFont->Items().IndexOf(name);
  yFont->SetItemIndex(index >= 0 ? index : 0);
}

void TChatFrm::btnFontSizeClick(TObject*) {
  Panel3->SetVisible(!Panel3->Visible());
  FillFontList(fontName_);
  if (yFont->ItemIndex() >= 0) fontName_ = yFont->Items()[yFont->ItemIndex()];
}

void TChatFrm::yFontClick(TObject*) {
  if (yFont->ItemIndex() < 0) return;
  fontName_ = yFont->Items()[yFont->ItemIndex()];
  ApplySendFont();
}

void TChatFrm::yComFontSizeClick(TObject*) {
  if (yComFontSize->ItemIndex() < 0) return;
  fontSize_ = sys::StrToIntDef(yComFontSize->Items()[yComFontSize->ItemIndex()], fontSize_);
  ApplySendFont();
}

void TChatFrm::yComFontCorlorClick(TObject*) {
  if (!ColorDialog->Execute()) return;
  fontColor_ = ColorDialog->Color();
  ApplySendFont();
}

void TChatFrm::btnFontSizeMouseEnter(TObject*) { LoadGlyphResource(btnFontSize, PictureLib, "font"); }
void TChatFrm::btnFontSizeMouseLeave(TObject*) { LoadGlyphResource(btnFontSize, PictureLib, "fontPass"); }
void TChatFrm::yComFontCorlorMouseEnter(TObject*) { LoadGlyphResource(yComFontCorlor, PictureLib, "Corlor"); }
void TChatFrm::yComFontCorlorMouseLeave(TObject*) { LoadGlyphResource(yComFontCorlor, PictureLib, "CorlorPass"); }

// ---------------------------------------------------------------- typing and sending

void TChatFrm::btnUseCharClick(TObject*) {
  ySendContent->SetText(ySendContent->Text() + ycomUseChar->Text());
  ySendContent->SetSelStart(ySendContent->TextLength());
  ySendContent->SetFocus();
}

void TChatFrm::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN && (Shift & ssCtrl)) {
    Key = 0;
    btnSend->Click();
  }
}

void TChatFrm::FormKeyPress(TObject*, char& Key) {
  // The character Ctrl+Enter produces after its key went to the send button.
  if (Key == '\n') Key = 0;
}

void TChatFrm::ySendContentKeyDown(TObject*, WORD&, TShiftState) {}
void TChatFrm::ySendContentKeyPress(TObject*, char&) {}

void TChatFrm::AppendEntry(const std::string& text, const TTextAttributes& a) {
  bool first = yReceiveContent->TextLength() == 0;
  yReceiveContent->AppendText((first ? "" : "\r\n") + text, a);
}

void TChatFrm::Action1Execute(TObject*) {
  try {
    std::string text = ySendContent->Text();
    if (text.size() > kChatMaxBytes) {
      ShowMsg("", "发送内容不能超过" + std::to_string(kChatMaxBytes) + "字符");
      return;
    }
    if (FriendNumber.empty()) {
      ShowMsg("", "接收人不能为空");
      ySendContent->SetFocus();
      return;
    }
    if (text.empty()) {
      seams::Dialogs().Ask(Handle(), "发送内容不能为空", "系统提示", MB_OK | MB_ICONINFORMATION);
      ySendContent->SetFocus();
      return;
    }
    if (!IsConnected || !ServiceClient) return;
    ServiceClient->ChatKind = (uint8_t)FriendFlag;
    std::string header = ServiceClient->OwnName + "  " + dt::DateTimeToStr(dt::Now()) + "\r\n";
    TStringList lines;
    SplitString(text, "\r\n", lines);
    std::string toSend;
    for (int i = 0; i < lines.Count(); ++i) toSend += (i ? "\r\n" : "") + sys::Trim(lines[i]);
    std::string toShow = header + IndentedLines(text, "\r\n");
    ChatSendInfo.Receiver = FriendNumber;
    ChatSendInfo.Content = toSend;
    ChatSendInfo.Sender = LoginData.Username;
    ChatSendInfo.FontName = fontName_;
    ChatSendInfo.FontSize = fontSize_;
    ChatSendInfo.FontColor = fontColor_;
    ServiceClient->SendChatMsg();
    AppendEntry(toShow, ChosenAttributes());
    ySendContent->Clear();
    ySendContent->SetSelStart(0);
    ApplySendFont();
    yReceiveContent->ScrollToEnd();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TChatFrm.Action1Execute出错");
  }
}

// ---------------------------------------------------------------- messages

void TChatFrm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case kChatBlockMessage:
      WMKeFuChatMsg(m);
      return;
    case WM_COPYDATA:
      WMChatMsg(m);
      return;
    case kChatOfflineMessage:
      WMOffChatMsg(m);
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_MAXIMIZE) m.WParam = 0;
      break;
  }
  TForm::WndProc(m);
}

void TChatFrm::WMKeFuChatMsg(TMessage& m) {
  m.Result = 0;
  // Its parameter is a pointer into this program: only its own hand-over may send it.
  if (!IsHandedRecord(m.LParam)) return;
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(m.LParam);
  if (!cds || !cds->lpData) return;
  std::optional<TMessageBlock> block = ReadMessageBlock(cds->lpData, cds->cbData);
  if (!block) return WriteErrorLog("TChatFrm.WMKeFuChatMsg: malformed message block");
  std::optional<TFormattedText> ft = ReadBlockText(*block);
  if (!ft) return WriteErrorLog("TChatFrm.WMKeFuChatMsg: malformed message text");
  bool fromFriend = block->Friend == 1;
  TTextAttributes a;
  a.Name = ft->FontName;
  a.Size = ft->FontSize;
  a.Color = fromFriend ? (TColor)ft->Colour : (TColor)sys::StrToIntDef(ft->ColourText, 0);
  std::string text = IndentedLines(ft->Text, fromFriend ? "\r\n" : "\r");
  std::string now = dt::DateTimeToStr(dt::Now());
  std::string entry;
  if (!fromFriend) entry = kCustomerPrefix + block->DisplayName + "  " + now + "\r\n" + text;
  else if (block->Online) entry = block->DisplayName + "  " + now + "\r\n" + text;
  else entry = dt::DateTimeToStr(block->Time) + "(离线留言)" + "\r\n" + text;
  AppendEntry(entry, a);
  yReceiveContent->ScrollToEnd();
  m.Result = 1;
}

void TChatFrm::WMChatMsg(TMessage& m) {
  std::optional<std::string> text = CopyDataText(m);
  if (!text) return;
  AppendEntry(*text, yReceiveContent->SelAttributes());
  yReceiveContent->ScrollToEnd();
  m.Result = 1;
}

void TChatFrm::WMOffChatMsg(TMessage& m) {
  // Carries its text in a copy-data record like WM_COPYDATA does, but as a bare pointer that
  // no other process may send: only this program's own hand-over. One line of at most 500 bytes.
  m.Result = 0;
  if (!IsHandedRecord(m.LParam)) return;
  std::optional<std::string> text = CopyDataText(m);
  if (!text) return;
  std::string line = text->substr(0, text->find_first_of("\r\n"));
  AppendEntry(sys::CutAnsi(line, kOfflineLineMax), yReceiveContent->SelAttributes());
  yReceiveContent->ScrollToEnd();
  m.Result = 1;
}

// ---------------------------------------------------------------- history

const std::string& TChatFrm::HistoryKey() const { return HistoryNumber.empty() ? FriendNumber : HistoryNumber; }

void TChatFrm::btnShowRecordClick(TObject*) {
  if (btnShowRecord->Caption() == kShowRecord) {
    SetWidth(kHistoryOpenWidth);
    btnShowRecord->SetCaption(kCloseRecord);
    LoadHistory();
  } else if (btnShowRecord->Caption() == kCloseRecord) {
    SetWidth(kHistoryClosedWidth);
    btnShowRecord->SetCaption(kShowRecord);
  }
}

void TChatFrm::LoadHistory() {
  if (!PersonalDb.Opened || !Data) return;
  try {
    yRichHistory->Clear();
    SendMessageA(yRichHistory->Handle(), EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    std::vector<TChatRecord> msgs;
    Data->ReadChatMsg(HistoryKey(), msgs);
    std::vector<std::string> lines;
    for (const auto& r : msgs) lines.push_back(r.ChatMsg);
    yRichHistory->SetLines(lines);
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "加载聊天记录文件出错");
  }
}

void TChatFrm::SaveHistory() {
  if (!PersonalDb.Opened || !Data) return;
  TStringList lines = yReceiveContent->Lines();
  TChatRecord r;
  r.ChatDate = dt::Date();
  r.FriendNumber = HistoryKey();
  for (const auto& line : lines) {
    r.ChatMsg = line.text;
    Data->SaveChatMsg(r);
  }
}

// ---------------------------------------------------------------- closing

void TChatFrm::btnCloseClick(TObject*) { Close(); }

void TChatFrm::FormCloseQuery(TObject*, bool&) {}

void TChatFrm::FormClose(TObject*, TCloseAction& Action) {
  Action = TCloseAction::caFree;
  // Hidden from now on until it is freed: a message for the partner that arrives meanwhile
  // must open a new window or wait behind the tray icon, not vanish into this one.
  chat_windows::Unregister(this);
  try {
    SaveHistory();
  } catch (const std::exception& e) {
    WriteErrorLog(std::string(e.what()) + "TChatFrm.SaveHistory出错");
  }
  SaveFontConfig(fontName_, std::to_string(fontSize_), std::to_string(fontColor_));
}

LRESULT SendOfflineChatLine(HWND chat, const std::string& text, HWND from) {
  return SendHandedRecord(chat, kChatOfflineMessage, 0, text + '\0', from);
}

void TChatFrm::FormDestroy(TObject*) {
  chat_windows::Unregister(this);
  fontNames_.reset();
}
