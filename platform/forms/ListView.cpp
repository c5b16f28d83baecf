// The report-style list view: the object holds columns and rows; each change is one message
// to the window when it exists, and CreateHandleDone copies everything into a new window.
#include "platform/forms/ListView.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

namespace {
// The window style of each TViewStyle.
const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
}  // namespace

// ---------------------------------------------------------------- TListItem

int TListItem::Index() const {
  const auto& v = owner_->items_;
  for (size_t i = 0; i < v.size(); ++i)
    if (v[i].get() == this) return (int)i;
  return -1;
}

void TListItem::SetCaption(const std::string& c) {
  caption_ = c;
  owner_->SetCellWindow(Index(), 0, c);
}

std::string TListItem::SubItem(int i) const {
  return i >= 0 && i < (int)subItems_.size() ? subItems_[i] : std::string();
}

void TListItem::AddSubItem(const std::string& s) {
  subItems_.push_back(s);
  owner_->SetCellWindow(Index(), (int)subItems_.size(), s);
}

void TListItem::SetSubItem(int i, const std::string& s) {
  if (i < 0) return;
  if (i >= (int)subItems_.size()) subItems_.resize(i + 1);
  subItems_[i] = s;
  owner_->SetCellWindow(Index(), i + 1, s);
}

bool TListItem::Selected() const {
  HWND h = owner_->HandleIfAllocated();
  if (!h) return selected_;
  return SendMessageA(h, LVM_GETITEMSTATE, Index(), LVIS_SELECTED) & LVIS_SELECTED;
}

void TListItem::SetSelected(bool v) {
  selected_ = v;
  if (HWND h = owner_->HandleIfAllocated()) {
    LVITEMA it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = v ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageA(h, LVM_SETITEMSTATE, Index(), (LPARAM)&it);
  }
}

// ---------------------------------------------------------------- TListView

TListView::TListView(TComponent* owner) : TCustomListView(owner) {
  RegisterListView();
  width_ = 250;
  height_ = 150;
  color_ = clWindow;
  tabStop_ = true;
}

TListView::~TListView() = default;

void TListView::CreateParams(TCreateParams& p) {
  static bool classesReady = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)classesReady;
  TWinControl::CreateParams(p);
  p.ClassName = WC_LISTVIEWA;
  p.Style |= kViews[(int)viewStyle_] | LVS_SHAREIMAGELISTS | (hideSelection_ ? 0 : LVS_SHOWSELALWAYS) |
             (multiSelect_ ? 0 : LVS_SINGLESEL) | (readOnly_ ? 0 : LVS_EDITLABELS);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::ApplyExtendedStyle() {
  if (!handle_) return;
  DWORD ex = (rowSelect_ ? LVS_EX_FULLROWSELECT : 0) | (gridLines_ ? LVS_EX_GRIDLINES : 0);
  SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
}

void TListView::CreateHandleDone() {
  ApplyExtendedStyle();
  for (int c = 0; c < (int)columns_.size(); ++c) InsertColumnWindow(c);
  for (int r = 0; r < (int)items_.size(); ++r) {
    InsertRowWindow(r);
    if (items_[r]->selected_) items_[r]->SetSelected(true);
  }
}

void TListView::InsertColumnWindow(int i) {
  if (!handle_) return;
  LVCOLUMNA c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  c.pszText = const_cast<char*>(columns_[i].Caption.c_str());
  c.cx = columns_[i].Width;
  c.iSubItem = i;
  SendMessageA(handle_, LVM_INSERTCOLUMNA, i, (LPARAM)&c);
}

void TListView::InsertRowWindow(int i) {
  if (!handle_) return;
  const TListItem& item = *items_[i];
  LVITEMA it{};
  it.mask = LVIF_TEXT;
  it.iItem = i;
  it.pszText = const_cast<char*>(item.caption_.c_str());
  SendMessageA(handle_, LVM_INSERTITEMA, 0, (LPARAM)&it);
  for (int s = 0; s < (int)item.subItems_.size(); ++s) SetCellWindow(i, s + 1, item.subItems_[s]);
}

void TListView::SetCellWindow(int row, int column, const std::string& text) {
  if (!handle_ || row < 0) return;
  LVITEMA it{};
  it.iSubItem = column;
  it.pszText = const_cast<char*>(text.c_str());
  SendMessageA(handle_, LVM_SETITEMTEXTA, row, (LPARAM)&it);
}

void TListView::AddColumn(const std::string& caption, int width) {
  columns_.push_back({caption, width});
  InsertColumnWindow((int)columns_.size() - 1);
}

void TListView::ClearColumns() {
  if (handle_)
    for (int i = (int)columns_.size() - 1; i >= 0; --i) SendMessageA(handle_, LVM_DELETECOLUMN, i, 0);
  columns_.clear();
}

TListItem* TListView::Add() {
  items_.push_back(std::make_unique<TListItem>(this));
  InsertRowWindow((int)items_.size() - 1);
  return items_.back().get();
}

void TListView::Delete(int index) {
  if (index < 0 || index >= (int)items_.size()) return;
  if (handle_) SendMessageA(handle_, LVM_DELETEITEM, index, 0);
  items_.erase(items_.begin() + index);
}

void TListView::Clear() {
  if (handle_) SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
  items_.clear();
}

TListItem* TListView::Selected() const {
  int i = ItemIndex();
  return i >= 0 ? items_[i].get() : nullptr;
}

int TListView::ItemIndex() const {
  if (handle_) {
    int i = (int)SendMessageA(handle_, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    return i >= 0 && i < (int)items_.size() ? i : -1;
  }
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->selected_) return (int)i;
  return -1;
}

void TListView::SetItemIndex(int i) {
  for (auto& it : items_) it->selected_ = false;
  if (handle_) {
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(handle_, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&none);
  }
  if (i >= 0 && i < (int)items_.size()) items_[i]->SetSelected(true);
}

void TListView::BeginUpdate() {
  if (updateCount_++ == 0 && handle_) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && handle_) {
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TListView::SetViewStyle(TViewStyle s) {
  viewStyle_ = s;
  if (!handle_) return;
  LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  SetWindowLongPtrA(handle_, GWL_STYLE, (style & ~(LONG_PTR)LVS_TYPEMASK) | kViews[(int)s]);
}

void TListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  ApplyExtendedStyle();
}

void TListView::SetGridLines(bool v) {
  gridLines_ = v;
  ApplyExtendedStyle();
}

void TListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == LVN_ITEMCHANGED) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
      if ((nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED) && OnChange) OnChange(this);
    } else if (hdr->code == NM_DBLCLK) {
      if (OnDblClick) OnDblClick(this);
    } else if (hdr->code == NM_CLICK) {
      if (OnClick) OnClick(this);
    } else if (hdr->code == LVN_BEGINLABELEDITA || hdr->code == LVN_BEGINLABELEDITW) {
      m.Result = readOnly_;
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------- registration

void RegisterListView() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  using L = TListView;
  RegisterProperties(L::StaticClass(), {
      EnumProperty("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, &L::ViewStyle, &L::SetViewStyle),
      BoolProperty("RowSelect", &L::RowSelect, &L::SetRowSelect),
      BoolProperty("GridLines", &L::GridLines, &L::SetGridLines),
      BoolProperty("ReadOnly", &L::ReadOnly, &L::SetReadOnly),
      BoolProperty("HideSelection", &L::HideSelection, &L::SetHideSelection),
      BoolProperty("MultiSelect", &L::MultiSelect, &L::SetMultiSelect),
      // The columns as "caption=width" texts: Columns.Strings = ( '帐号=100' '昵称=80' ).
      MakeProp<L>(
          "Columns", TPropType::StringList,
          [](const L* l) {
            std::vector<std::string> v;
            for (int i = 0; i < l->ColumnCount(); ++i)
              v.push_back(l->Column(i).Caption + "=" + std::to_string(l->Column(i).Width));
            return v;
          },
          [](L* l, const TPropValue& v) {
            l->ClearColumns();
            for (const auto& e : std::get<std::vector<std::string>>(v)) {
              size_t eq = e.rfind('=');
              if (eq == std::string::npos) l->AddColumn(e, 50);
              else l->AddColumn(e.substr(0, eq), atoi(e.c_str() + eq + 1));
            }
          }),
      EventProp("OnChange", &L::OnChange),
  });
  RegisterComponentClass<TListView>();
}
