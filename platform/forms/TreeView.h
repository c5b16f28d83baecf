// The tree view over SysTreeView32, as the settings window uses it: a list of top-level
// entries, one of them selected, and a click that reaches OnClick with the clicked entry
// already selected.
// GUI thread only.
#pragma once
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "platform/forms/Controls.h"

class TTreeView : public TWinControl {
  KARV_CLASS(TTreeView, TWinControl)
 public:
  explicit TTreeView(TComponent* owner);

  // Top-level entries, in order.
  int Count() const { return (int)items_.size(); }
  std::string Item(int index) const { return items_.at(index).text; }
  void SetItems(const std::vector<std::string>& texts);
  std::vector<std::string> Items() const;
  // The selected entry, or -1; its text, or "".
  int SelectedIndex() const { return selected_; }
  std::string SelectedText() const { return selected_ < 0 ? std::string() : items_[selected_].text; }
  void Select(int index);
  // The entry's rectangle in client coordinates (empty before the window exists).
  RECT ItemRect(int index) const;

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v) { rowSelect_ = v; }
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool v) { showButtons_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  struct Entry {
    std::string text;
    HTREEITEM handle = nullptr;
  };
  void InsertAll();
  int IndexOfHandle(HTREEITEM h) const;
  std::vector<Entry> items_;
  int selected_ = -1;
  POINT pressedAt_{-1, -1};
  bool readOnly_ = false, rowSelect_ = false, showButtons_ = true, hideSelection_ = true;
};

void RegisterTreeView();
