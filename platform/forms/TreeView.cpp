#include "platform/forms/TreeView.h"

#include <commctrl.h>

#include <cstring>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
  RegisterTreeView();
  width_ = 121;
  height_ = 97;
  tabStop_ = true;
}

void TTreeView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = WC_TREEVIEWA;
  p.Style |= WS_BORDER;
  if (!hideSelection_) p.Style |= TVS_SHOWSELALWAYS;
  if (rowSelect_) p.Style |= TVS_FULLROWSELECT;
  if (showButtons_) p.Style |= TVS_HASBUTTONS;
  if (!readOnly_) p.Style |= TVS_EDITLABELS;
}

void TTreeView::CreateHandleDone() {
  InsertAll();
  if (selected_ >= 0) SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, (LPARAM)items_[selected_].handle);
}

void TTreeView::InsertAll() {
  if (!handle_) return;
  SendMessageA(handle_, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
  for (Entry& e : items_) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = e.text.data();
    e.handle = (HTREEITEM)SendMessageA(handle_, TVM_INSERTITEMA, 0, (LPARAM)&ins);
  }
}

void TTreeView::SetItems(const std::vector<std::string>& texts) {
  items_.clear();
  for (const auto& t : texts) items_.push_back({t, nullptr});
  selected_ = -1;
  InsertAll();
}

std::vector<std::string> TTreeView::Items() const {
  std::vector<std::string> v;
  for (const auto& e : items_) v.push_back(e.text);
  return v;
}

void TTreeView::Select(int index) {
  if (index < -1 || index >= Count()) return;
  selected_ = index;
  if (handle_) SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, index < 0 ? 0 : (LPARAM)items_[index].handle);
}

RECT TTreeView::ItemRect(int index) const {
  RECT r{};
  if (!handle_ || index < 0 || index >= Count()) return r;
  // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
  HTREEITEM item = items_[index].handle;
  std::memcpy(&r, &item, sizeof item);
  if (!SendMessageA(handle_, TVM_GETITEMRECT, FALSE, (LPARAM)&r)) r = RECT{};
  return r;
}

int TTreeView::IndexOfHandle(HTREEITEM h) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].handle == h) return i;
  return -1;
}

void TTreeView::WndProc(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN) pressedAt_ = POINT{(short)LOWORD(m.LParam), (short)HIWORD(m.LParam)};
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == TVN_SELCHANGEDA || hdr->code == TVN_SELCHANGEDW) {
      selected_ = IndexOfHandle(reinterpret_cast<NMTREEVIEWA*>(m.LParam)->itemNew.hItem);
      if (OnChange) OnChange(this);
    } else if (hdr->code == NM_CLICK) {
      // The click comes before the control moves its selection: select the entry under the
      // press first, so the handler sees the entry that was clicked.
      TVHITTESTINFO hit{};
      hit.pt = pressedAt_;
      if (SendMessageA(handle_, TVM_HITTEST, 0, (LPARAM)&hit) && (hit.flags & TVHT_ONITEM)) {
        int index = IndexOfHandle(hit.hItem);
        if (index >= 0 && index != selected_) Select(index);
      }
      Click();
    } else if (hdr->code == TVN_BEGINLABELEDITA || hdr->code == TVN_BEGINLABELEDITW) {
      m.Result = readOnly_;
    }
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterTreeView() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  using T = TTreeView;
  RegisterProperties(T::StaticClass(), {
      StringsProperty("Items", &T::Items, &T::SetItems),
      BoolProperty("ReadOnly", &T::ReadOnly, &T::SetReadOnly),
      BoolProperty("RowSelect", &T::RowSelect, &T::SetRowSelect),
      BoolProperty("ShowButtons", &T::ShowButtons, &T::SetShowButtons),
      BoolProperty("HideSelection", &T::HideSelection, &T::SetHideSelection),
      EventProp("OnChange", &T::OnChange),
  });
  RegisterComponentClass<T>();
}
