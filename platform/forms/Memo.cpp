#include "platform/forms/Memo.h"

#include <richedit.h>

#include <cstring>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------- TCustomMemo

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  RegisterMemos();
  width_ = 185;
  height_ = 89;
  color_ = clWindow;
  tabStop_ = true;
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style |= ES_MULTILINE | ES_WANTRETURN | (readOnly_ ? ES_READONLY : 0) | (wordWrap_ ? 0 : ES_AUTOHSCROLL) | ES_AUTOVSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_HSCROLL;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomMemo::CreateHandleDone() {
  if (maxLength_) SendMessageA(handle_, EM_LIMITTEXT, maxLength_, 0);
}

TStringList TCustomMemo::Lines() const {
  TStringList l;
  l.SetText(Caption());
  return l;
}

void TCustomMemo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (size_t i = 0; i < lines.size(); ++i) t += (i ? "\r\n" : "") + lines[i];
  SetCaption(t);
}

void TCustomMemo::AppendLine(const std::string& line) {
  std::string t = Caption();
  SetCaption(t.empty() ? line : t + "\r\n" + line);
}

void TCustomMemo::SetReadOnly(bool v) {
  readOnly_ = v;
  if (handle_) SendMessageA(handle_, EM_SETREADONLY, v, 0);
}

void TCustomMemo::SetMaxLength(int n) {
  maxLength_ = n;
  if (handle_) SendMessageA(handle_, EM_LIMITTEXT, n, 0);
}

int TCustomMemo::SelStart() const {
  DWORD s = 0, e = 0;
  if (handle_) SendMessageA(handle_, EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
  return (int)s;
}

int TCustomMemo::SelLength() const {
  DWORD s = 0, e = 0;
  if (handle_) SendMessageA(handle_, EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
  return (int)(e - s);
}

void TCustomMemo::SetSelStart(int pos) {
  if (handle_) SendMessageA(handle_, EM_SETSEL, pos, pos);
}

void TCustomMemo::SetSelLength(int len) {
  int s = SelStart();
  if (handle_) SendMessageA(handle_, EM_SETSEL, s, s + len);
}

void TCustomMemo::SelectAll() {
  if (handle_) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

void TCustomMemo::ScrollToEnd() {
  if (handle_) SendMessageA(handle_, WM_VSCROLL, SB_BOTTOM, 0);
}

void TCustomMemo::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}

TMemo::TMemo(TComponent* owner) : TCustomMemo(owner) {}

void TMemo::CreateParams(TCreateParams& p) {
  TCustomMemo::CreateParams(p);
  p.ClassName = "EDIT";
}

// ---------------------------------------------------------------- TRichEdit

namespace {
// The rich edit class and the libraries behind it are loaded with the first rich edit window,
// not at start-up: the login window has none. Kept loaded for the rest of the run.
void LoadRichEditClass() {
  static HMODULE library = LoadLibraryA("riched20.dll");
  if (!library) throw Exception("TRichEdit: riched20.dll cannot be loaded (error " + sys::IntToStr(GetLastError()) + ")");
}
}  // namespace

TRichEdit::TRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TRichEdit::CreateParams(TCreateParams& p) {
  LoadRichEditClass();
  TCustomMemo::CreateParams(p);
  p.ClassName = RICHEDIT_CLASSA;
}

void TRichEdit::CreateHandleDone() {
  TCustomMemo::CreateHandleDone();
  SendMessageA(handle_, EM_SETEVENTMASK, 0, ENM_CHANGE);
  SendMessageA(handle_, EM_EXLIMITTEXT, 0, maxLength_ ? maxLength_ : 0x7FFFFFF0);
  // A text given before the window was made went in under the default limit of 32K.
  if (!caption_.empty()) SetWindowTextA(handle_, caption_.c_str());
}

static CHARFORMATA ToCharFormat(const TTextAttributes& a) {
  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET;
  strncpy(cf.szFaceName, a.Name.c_str(), LF_FACESIZE - 1);
  cf.yHeight = a.Size * 20;
  cf.crTextColor = ColorToRGB(a.Color);
  cf.bCharSet = GB2312_CHARSET;
  cf.dwEffects = ((a.Style & fsBold) ? CFE_BOLD : 0) | ((a.Style & fsItalic) ? CFE_ITALIC : 0) |
                 ((a.Style & fsUnderline) ? CFE_UNDERLINE : 0) | ((a.Style & fsStrikeOut) ? CFE_STRIKEOUT : 0);
  return cf;
}

TTextAttributes TRichEdit::SelAttributes() const {
  TTextAttributes a;
  if (!handle_) return a;
  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  SendMessageA(handle_, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
  a.Name = cf.szFaceName;
  a.Size = cf.yHeight / 20;
  a.Color = (TColor)(cf.crTextColor & 0xFFFFFF);
  a.Style = ((cf.dwEffects & CFE_BOLD) ? fsBold : 0) | ((cf.dwEffects & CFE_ITALIC) ? fsItalic : 0) |
            ((cf.dwEffects & CFE_UNDERLINE) ? fsUnderline : 0) | ((cf.dwEffects & CFE_STRIKEOUT) ? fsStrikeOut : 0);
  return a;
}

void TRichEdit::SetSelAttributes(const TTextAttributes& a) {
  CHARFORMATA cf = ToCharFormat(a);
  SendMessageA(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

int TRichEdit::TextLength() const {
  if (!handle_) return (int)caption_.size();
  GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return (int)SendMessageA(handle_, EM_GETTEXTLENGTHEX, (WPARAM)&q, 0);
}

std::string TRichEdit::Caption() const {
  if (!handle_) return caption_;
  int chars = TextLength();
  std::string buf((size_t)chars * 2 + 2 * (size_t)chars + 16, '\0');  // room for CR LF and double bytes
  GETTEXTEX q{};
  q.cb = (DWORD)buf.size();
  q.flags = GT_USECRLF;
  q.codepage = CP_ACP;
  LRESULT n = SendMessageA(handle_, EM_GETTEXTEX, (WPARAM)&q, (LPARAM)buf.data());
  buf.resize(n > 0 ? (size_t)n : 0);
  return buf;
}

void TRichEdit::SetSelText(const std::string& text) {
  // A read-only rich edit refuses replacements, but code still writes into it.
  HWND h = Handle();
  if (readOnly_) SendMessageA(h, EM_SETREADONLY, FALSE, 0);
  SendMessageA(h, EM_REPLACESEL, FALSE, (LPARAM)text.c_str());
  if (readOnly_) SendMessageA(h, EM_SETREADONLY, TRUE, 0);
}

void TRichEdit::AppendText(const std::string& text, const TTextAttributes& a) {
  HWND h = Handle();
  int end = TextLength();
  SendMessageA(h, EM_SETSEL, end, end);
  SetSelAttributes(a);
  SetSelText(text);
  ScrollToEnd();
}

// ---------------------------------------------------------------- registration

void RegisterMemos() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  using M = TCustomMemo;
  const std::vector<std::string> scrolls = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
  RegisterProperties(M::StaticClass(), {
      MakeProp<M>("Lines", TPropType::StringList,
                  [](const M* m) {
                    std::vector<std::string> v;
                    for (const auto& it : m->Lines()) v.push_back(it.text);
                    return v;
                  },
                  [](M* m, const TPropValue& v) { m->SetLines(std::get<std::vector<std::string>>(v)); }),
      BoolProperty("ReadOnly", &M::ReadOnly, &M::SetReadOnly),
      BoolProperty("WordWrap", &M::WordWrap, &M::SetWordWrap),
      IntProperty("MaxLength", &M::MaxLength, &M::SetMaxLength),
      EnumProperty("ScrollBars", scrolls, &M::ScrollBars, &M::SetScrollBars),
      EventProp("OnChange", &M::OnChange),
  });
  RegisterComponentClass<TMemo>();
  RegisterComponentClass<TRichEdit>();
}
