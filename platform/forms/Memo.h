// Multi-line edits: the plain memo and the rich edit (RichEdit 2.0) with coloured,
// sized and styled runs of text.
// GUI thread only.
#pragma once
#include <string>
#include <vector>

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/StringList.h"

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
  KARV_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);
  bool WantReturns() const override { return true; }
  // The lines of the text (split at line breaks).
  TStringList Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  // Adds one line at the end.
  void AppendLine(const std::string& line);
  void Clear() { SetCaption(""); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s) { scrollBars_ = s; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  // Selection in characters of the control's text.
  int SelStart() const;
  void SetSelStart(int pos);
  int SelLength() const;
  void SetSelLength(int len);
  void SelectAll();
  void ScrollToEnd();
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  bool readOnly_ = false, wordWrap_ = true;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  int maxLength_ = 0;
};

class TMemo : public TCustomMemo {
  KARV_CLASS(TMemo, TCustomMemo)
 public:
  explicit TMemo(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& p) override;
};

// Character formatting of the rich edit's selection (what new text is written with).
struct TTextAttributes {
  std::string Name = "宋体";
  int Size = 10;
  TColor Color = clBlack;
  unsigned Style = 0;  // TFontStyle bits
};

class TRichEdit : public TCustomMemo {
  KARV_CLASS(TRichEdit, TCustomMemo)
 public:
  explicit TRichEdit(TComponent* owner);
  // The attributes of the current selection; setting them formats it.
  TTextAttributes SelAttributes() const;
  void SetSelAttributes(const TTextAttributes& a);
  // Appends text at the end in the given attributes (no line break added).
  void AppendText(const std::string& text, const TTextAttributes& a);
  // Characters of the text as the control counts them (line breaks count once).
  int TextLength() const;
  // Replaces the selection with text.
  void SetSelText(const std::string& text);
  // The text with CR LF line breaks.
  std::string Caption() const override;
  bool WindowWaitsForShow() const override { return true; }

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
};

void RegisterMemos();
