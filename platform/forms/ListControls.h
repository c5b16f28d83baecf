// List boxes and combo boxes. Their items live in a TListStrings that keeps the window's
// list in step, so code can fill them before or after the window exists.
// GUI thread only.
#pragma once
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/rtl/StringList.h"

class TCustomListControl;

class TListStrings {
 public:
  explicit TListStrings(TCustomListControl* owner) : owner_(owner) {}
  int Count() const { return list_.Count(); }
  const std::string& operator[](int i) const { return list_[i]; }
  void* Objects(int i) const { return list_.Objects(i); }
  void SetObject(int i, void* o) { list_.SetObject(i, o); }
  int Add(const std::string& s, void* object = nullptr);
  void Insert(int index, const std::string& s, void* object = nullptr);
  void Delete(int index);
  void Clear();
  void Set(int index, const std::string& s);
  int IndexOf(const std::string& s) const { return list_.IndexOf(s); }
  void Assign(const std::vector<std::string>& items);
  std::vector<std::string> ToVector() const;
  std::string Text() const { return list_.Text(); }

 private:
  TCustomListControl* owner_;
  TStringList list_;
};

class TCustomListControl : public TWinControl {
  KARV_CLASS(TCustomListControl, TWinControl)
 public:
  explicit TCustomListControl(TComponent* owner);
  TListStrings& Items() { return items_; }
  const TListStrings& Items() const { return items_; }
  // The selected item, or -1.
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int i) = 0;

 protected:
  friend class TListStrings;
  virtual void WindowInsert(int index, const std::string& s) = 0;
  virtual void WindowDelete(int index) = 0;
  virtual void WindowClear() = 0;
  void CreateHandleDone() override;
  TListStrings items_;
  int itemIndex_ = -1;
};

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawFlag : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TDrawItemEvent = TEvent<void(TObject*, int index, HDC dc, RECT rect, unsigned state)>;
using TMeasureItemEvent = TEvent<void(TObject*, int index, int& height)>;

class TListBox : public TCustomListControl {
  KARV_CLASS(TListBox, TCustomListControl)
 public:
  explicit TListBox(TComponent* owner);
  int ItemIndex() const override;
  void SetItemIndex(int i) override;
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle s) { style_ = s; }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool v);
  RECT ItemRect(int index) const;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WindowInsert(int index, const std::string& s) override;
  void WindowDelete(int index) override;
  void WindowClear() override;
  TListBoxStyle style_ = TListBoxStyle::lbStandard;
  int itemHeight_ = 13;
  bool ctl3d_ = true;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// Ancestor the skin engine's class tests name.
class TCustomComboBox : public TCustomListControl {
  KARV_CLASS(TCustomComboBox, TCustomListControl)
 public:
  using TCustomListControl::TCustomListControl;
};

class TComboBox : public TCustomComboBox {
  KARV_CLASS(TComboBox, TCustomComboBox)
 public:
  explicit TComboBox(TComponent* owner);
  int ItemIndex() const override;
  void SetItemIndex(int i) override;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle s) { style_ = s; }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int n) { dropDownCount_ = n; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  // The edit inside an editable combo box (keys typed there reach this control's events).
  HWND EditHandle() const { return edit_; }
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WindowInsert(int index, const std::string& s) override;
  void WindowDelete(int index) override;
  void WindowClear() override;
  static LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
  HWND edit_ = nullptr;
  WNDPROC editProc_ = nullptr;
};

void RegisterListControls();
