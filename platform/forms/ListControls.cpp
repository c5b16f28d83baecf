#include "platform/forms/ListControls.h"

#include <windowsx.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/WndProcGuard.h"

// ---------------------------------------------------------------- TListStrings

int TListStrings::Add(const std::string& s, void* object) {
  Insert(Count(), s, object);
  return Count() - 1;
}

void TListStrings::Insert(int index, const std::string& s, void* object) {
  if (index < 0 || index > Count()) index = Count();
  list_.Insert(index, s);
  list_.SetObject(index, object);
  if (owner_->HandleAllocated()) owner_->WindowInsert(index, s);
}

void TListStrings::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  list_.Delete(index);
  if (owner_->HandleAllocated()) owner_->WindowDelete(index);
}

void TListStrings::Clear() {
  list_.Clear();
  if (owner_->HandleAllocated()) owner_->WindowClear();
}

void TListStrings::Set(int index, const std::string& s) {
  if (index < 0 || index >= Count()) return;
  void* o = list_.Objects(index);
  int selected = owner_->ItemIndex();
  Delete(index);
  Insert(index, s, o);
  if (selected == index) owner_->SetItemIndex(index);
}

void TListStrings::Assign(const std::vector<std::string>& items) {
  Clear();
  for (const auto& s : items) Add(s);
}

std::vector<std::string> TListStrings::ToVector() const {
  std::vector<std::string> v;
  for (const auto& it : list_) v.push_back(it.text);
  return v;
}

// ---------------------------------------------------------------- TCustomListControl

TCustomListControl::TCustomListControl(TComponent* owner) : TWinControl(owner), items_(this) {
  RegisterListControls();
  color_ = clWindow;
  tabStop_ = true;
}

void TCustomListControl::CreateHandleDone() {
  for (int i = 0; i < items_.Count(); ++i) WindowInsert(i, items_[i]);
  if (itemIndex_ >= 0) SetItemIndex(itemIndex_);
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TCustomListControl(owner) {
  width_ = 121;
  height_ = 97;
}

void TListBox::CreateParams(TCreateParams& p) {
  TCustomListControl::CreateParams(p);
  p.ClassName = "LISTBOX";
  p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
  if (style_ == TListBoxStyle::lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED;
  if (style_ == TListBoxStyle::lbOwnerDrawVariable) p.Style |= LBS_OWNERDRAWVARIABLE;
  if (ctl3d_) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateHandleDone() {
  if (style_ != TListBoxStyle::lbOwnerDrawVariable) SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
  TCustomListControl::CreateHandleDone();
}

void TListBox::SetItemHeight(int h) {
  itemHeight_ = h;
  if (handle_ && style_ != TListBoxStyle::lbOwnerDrawVariable) {
    SendMessageA(handle_, LB_SETITEMHEIGHT, 0, h);
    Invalidate();
  }
}

void TListBox::SetCtl3D(bool v) {
  ctl3d_ = v;
  if (!handle_) return;
  LONG_PTR ex = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
  SetWindowLongPtrA(handle_, GWL_EXSTYLE, v ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE));
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

int TListBox::ItemIndex() const {
  return handle_ ? (int)SendMessageA(handle_, LB_GETCURSEL, 0, 0) : itemIndex_;
}

void TListBox::SetItemIndex(int i) {
  itemIndex_ = i;
  if (handle_) SendMessageA(handle_, LB_SETCURSEL, i, 0);
}

RECT TListBox::ItemRect(int index) const {
  RECT r{};
  if (handle_) SendMessageA(handle_, LB_GETITEMRECT, index, (LPARAM)&r);
  return r;
}

void TListBox::WindowInsert(int index, const std::string& s) {
  SendMessageA(handle_, LB_INSERTSTRING, index, (LPARAM)s.c_str());
}
void TListBox::WindowDelete(int index) { SendMessageA(handle_, LB_DELETESTRING, index, 0); }
void TListBox::WindowClear() { SendMessageA(handle_, LB_RESETCONTENT, 0, 0); }

void TListBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == LBN_SELCHANGE) {
        itemIndex_ = ItemIndex();
        TControl::Click();
      } else if (HIWORD(m.WParam) == LBN_DBLCLK) {
        TControl::DblClick();
      }
      return;
    case CN_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      unsigned state = ((d->itemState & ODS_SELECTED) ? odSelected : 0) | ((d->itemState & ODS_FOCUS) ? odFocused : 0) |
                       ((d->itemState & ODS_DISABLED) ? odDisabled : 0);
      if ((int)d->itemID >= 0 && (int)d->itemID < items_.Count()) {
        SelectObject(d->hDC, font_->Handle());
        if (OnDrawItem) {
          OnDrawItem(this, (int)d->itemID, d->hDC, d->rcItem, state);
        } else {
          bool sel = state & odSelected;
          FillRect(d->hDC, &d->rcItem, GetSysColorBrush(sel ? COLOR_HIGHLIGHT : COLOR_WINDOW));
          SetBkMode(d->hDC, TRANSPARENT);
          SetTextColor(d->hDC, GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
          RECT r = d->rcItem;
          r.left += 2;
          const std::string& s = items_[(int)d->itemID];
          DrawTextA(d->hDC, s.c_str(), (int)s.size(), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
      }
      m.Result = TRUE;
      return;
    }
    case CN_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      int h = itemHeight_;
      if (OnMeasureItem) OnMeasureItem(this, (int)mi->itemID, h);
      mi->itemHeight = h;
      m.Result = TRUE;
      return;
    }
    default:
      break;
  }
  TCustomListControl::WndProc(m);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* owner) : TCustomComboBox(owner) {
  width_ = 145;
  height_ = 21;
}

void TComboBox::CreateParams(TCreateParams& p) {
  TCustomListControl::CreateParams(p);
  p.ClassName = "COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
  p.Style |= style_ == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST
             : style_ == TComboBoxStyle::csSimple     ? CBS_SIMPLE
                                                      : CBS_DROPDOWN;
}

void TComboBox::CreateHandleDone() {
  // The drop-down height comes from the window's height at creation.
  RECT r;
  GetWindowRect(handle_, &r);
  int itemH = (int)SendMessageA(handle_, CB_GETITEMHEIGHT, 0, 0);
  SetWindowPos(handle_, nullptr, 0, 0, width_, height_ + itemH * dropDownCount_ + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  TCustomListControl::CreateHandleDone();
  if (maxLength_) SendMessageA(handle_, CB_LIMITTEXT, maxLength_, 0);
  if (!caption_.empty() && style_ != TComboBoxStyle::csDropDownList) SetWindowTextA(handle_, caption_.c_str());
  COMBOBOXINFO info{sizeof info};
  if (GetComboBoxInfo(handle_, &info) && info.hwndItem && info.hwndItem != handle_) {
    edit_ = info.hwndItem;
    SetPropA(edit_, "KarvCombo", this);
    editProc_ = (WNDPROC)SetWindowLongPtrA(edit_, GWLP_WNDPROC, (LONG_PTR)GuardedWndProc<&TComboBox::EditProc>);
  }
}

LRESULT CALLBACK TComboBox::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<TComboBox*>(GetPropA(h, "KarvCombo"));
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  WNDPROC next = self->editProc_;
  // Keys typed in the edit part are the combo box's keys.
  if (msg == WM_CHAR) {
    if ((wp == '\r' || wp == 27 || wp == '\t') && self->dialogKeyUsed_) {
      self->dialogKeyUsed_ = false;
      return 0;
    }
    char key = (char)wp;
    if (self->KeyPressHandled(key)) return 0;
    wp = (unsigned char)key;
  } else if (msg == WM_KEYDOWN) {
    WORD key = (WORD)wp;
    if (self->KeyDownHandled(key, KeyboardShiftState())) return 0;
    // The edit belongs to the combo box: its dialog keys are the combo box's.
    if (self->PassDialogKey(key)) return 0;
    wp = key;
  } else if (msg == WM_NCDESTROY) {
    RemovePropA(h, "KarvCombo");
    SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)next);
    self->edit_ = nullptr;
  }
  return CallWindowProcA(next, h, msg, wp, lp);
}

void TComboBox::SetMaxLength(int n) {
  maxLength_ = n;
  if (handle_) SendMessageA(handle_, CB_LIMITTEXT, n, 0);
}

int TComboBox::ItemIndex() const {
  return handle_ ? (int)SendMessageA(handle_, CB_GETCURSEL, 0, 0) : itemIndex_;
}

void TComboBox::SetItemIndex(int i) {
  itemIndex_ = i;
  if (handle_) SendMessageA(handle_, CB_SETCURSEL, i, 0);
  else if (i >= 0 && i < items_.Count()) caption_ = items_[i];
}

void TComboBox::WindowInsert(int index, const std::string& s) {
  SendMessageA(handle_, CB_INSERTSTRING, index, (LPARAM)s.c_str());
}
void TComboBox::WindowDelete(int index) { SendMessageA(handle_, CB_DELETESTRING, index, 0); }
void TComboBox::WindowClear() {
  std::string text = Caption();
  SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
  if (style_ != TComboBoxStyle::csDropDownList) SetWindowTextA(handle_, text.c_str());
}

void TComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
        itemIndex_ = ItemIndex();
        if (OnSelect) OnSelect(this);
        if (OnChange) OnChange(this);
        TControl::Click();
        break;
      case CBN_EDITCHANGE:
        if (OnChange) OnChange(this);
        break;
      default:
        break;
    }
    return;
  }
  TCustomListControl::WndProc(m);
}

// ---------------------------------------------------------------- registration

void RegisterListControls() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterProperties(TCustomListControl::StaticClass(), {
      MakeProp<TCustomListControl>(
          "Items", TPropType::StringList, [](const TCustomListControl* c) { return c->Items().ToVector(); },
          [](TCustomListControl* c, const TPropValue& v) { c->Items().Assign(std::get<std::vector<std::string>>(v)); }),
      IntProperty("ItemIndex", &TCustomListControl::ItemIndex, &TCustomListControl::SetItemIndex),
  });
  const std::vector<std::string> lbStyles = {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"};
  RegisterProperties(TListBox::StaticClass(), {
      EnumProperty("Style", lbStyles, &TListBox::Style, &TListBox::SetStyle),
      IntProperty("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight),
      BoolProperty("Ctl3D", &TListBox::Ctl3D, &TListBox::SetCtl3D),
      EventProp("OnDrawItem", &TListBox::OnDrawItem),
      EventProp("OnMeasureItem", &TListBox::OnMeasureItem),
  });
  const std::vector<std::string> cbStyles = {"csDropDown", "csSimple", "csDropDownList"};
  RegisterProperties(TComboBox::StaticClass(), {
      EnumProperty("Style", cbStyles, &TComboBox::Style, &TComboBox::SetStyle),
      IntProperty("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount),
      IntProperty("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength),
      EventProp("OnChange", &TComboBox::OnChange),
      EventProp("OnSelect", &TComboBox::OnSelect),
  });
  RegisterComponentClass<TListBox>();
  RegisterComponentClass<TComboBox>();
}
