// The chat window: the conversation with one enterprise friend or consulting customer. It
// shows the message blocks the main window hands it (window message 10001) and texts sent
// with WM_COPYDATA, sends what the user types in the chosen font, size and colour, offers
// the quick phrases, shows the stored history in a right-hand pane, and stores the
// conversation's lines and the font choice when it closes. It frees itself on close.
// Contract: the application owns it until it frees itself; the chat-window list only
// borrows it. GUI thread only.
#pragma once
#include <memory>
#include <string>

#include "platform/forms/ActnList.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/Image.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/StringList.h"
#include "widgets/BitBtnEx.h"

// Reserved for an offline message appended as one line; nothing sends it. Like 10001 it is
// taken only from this program's own hand-over (SendOfflineChatLine).
inline constexpr UINT kChatOfflineMessage = 10000;
// The most bytes (code page 936) one message may hold.
inline constexpr size_t kChatMaxBytes = 80;

// Hands `text` to a chat window as message 10000, synchronously; the window's answer.
LRESULT SendOfflineChatLine(HWND chat, const std::string& text, HWND from = nullptr);

class TChatFrm : public TForm {
  KARV_CLASS(TChatFrm, TForm)
 public:
  explicit TChatFrm(TComponent* owner);
  ~TChatFrm() override;

  TPanel* Panel4 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* ySenderName = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* yNickName = nullptr;
  TPanel* Panel1 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TRichEdit* yReceiveContent = nullptr;
  TPanel* Panel3 = nullptr;
  TImage* Image2 = nullptr;
  TComboBox* yFont = nullptr;
  TComboBox* yComFontSize = nullptr;
  TBitBtnExtend* yComFontCorlor = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TRichEdit* ySendContent = nullptr;
  TLabel* lblMsgLength = nullptr;
  TLabel* Label2 = nullptr;
  TComboBox* ycomUseChar = nullptr;
  TButton* btnUseChar = nullptr;
  TBitBtnExtend* btnFontSize = nullptr;
  TButton* btnShowRecord = nullptr;
  TButton* btnClose = nullptr;
  TButton* btnSend = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRichEdit* yRichHistory = nullptr;
  TColorDialog* ColorDialog = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* Action1 = nullptr;

  // The partner: the receiver of sent messages, the number its history is kept under, and
  // 1 for an enterprise friend, 0 for a consulting customer (the kind byte of sent messages).
  std::string FriendNumber;
  std::string HistoryNumber;
  int FriendFlag = 0;
  // Sets both numbers, the flag, the caption and the two labels at once.
  void SetPartner(const std::string& number, const std::string& nickName, bool enterpriseFriend);

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormDestroy(TObject* Sender);
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void FormKeyPress(TObject* Sender, char& Key);
  void Action1Execute(TObject* Sender);
  void btnUseCharClick(TObject* Sender);
  void btnShowRecordClick(TObject* Sender);
  void btnCloseClick(TObject* Sender);
  void btnFontSizeClick(TObject* Sender);
  void yFontClick(TObject* Sender);
  void yComFontSizeClick(TObject* Sender);
  void yComFontCorlorClick(TObject* Sender);
  void btnFontSizeMouseEnter(TObject* Sender);
  void btnFontSizeMouseLeave(TObject* Sender);
  void yComFontCorlorMouseEnter(TObject* Sender);
  void yComFontCorlorMouseLeave(TObject* Sender);
  void ySendContentKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void ySendContentKeyPress(TObject* Sender, char& Key);
  TPublishedTable Published() override;

  void LoadHistory();
  void SaveHistory();
  void FillFontList(const std::string& name);

  // The font choice of the send box.
  const std::string& ChosenFontName() const { return fontName_; }
  int ChosenFontSize() const { return fontSize_; }
  TColor ChosenFontColor() const { return fontColor_; }

  void WndProc(TMessage& m) override;

 protected:
  HWND ParentHandleForCreate() override;

 private:
  void WMKeFuChatMsg(TMessage& m);
  void WMChatMsg(TMessage& m);
  void WMOffChatMsg(TMessage& m);
  TTextAttributes ChosenAttributes() const;
  // The number the history is kept under: the second copy, or the partner's number.
  const std::string& HistoryKey() const;
  void ApplySendFont();
  // Adds an entry to the conversation as a new line, in the given attributes.
  void AppendEntry(const std::string& text, const TTextAttributes& a);

  std::string fontName_ = "宋体";
  int fontSize_ = 10;
  TColor fontColor_ = clBlack;
  std::unique_ptr<TStringList> fontNames_;
};
