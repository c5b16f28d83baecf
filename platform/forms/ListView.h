// The list view over SysListView32, as the program's windows use it: report style with
// columns, rows of a caption and sub-items. Columns and rows live in the object and are kept
// in step with the window, so code can fill the list before or after the window exists.
// Items belong to the list view. GUI thread only.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"

class TListView;

struct TListColumn {
  std::string Caption;
  int Width = 50;
};

class TListItem {
 public:
  TListItem(TListView* owner) : owner_(owner) {}
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;

  int Index() const;
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  int SubItemCount() const { return (int)subItems_.size(); }
  // The text of sub-item `i` (column i + 1), "" past the end.
  std::string SubItem(int i) const;
  void AddSubItem(const std::string& s);
  void SetSubItem(int i, const std::string& s);
  bool Selected() const;
  void SetSelected(bool v);
  void* Data = nullptr;

 private:
  friend class TListView;
  TListView* owner_;
  std::string caption_;
  std::vector<std::string> subItems_;
  bool selected_ = false;  // kept while there is no window
};

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// Ancestor the skin engine's class tests name.
class TCustomListView : public TWinControl {
  KARV_CLASS(TCustomListView, TWinControl)
 public:
  using TWinControl::TWinControl;
};

class TListView : public TCustomListView {
  KARV_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* owner);
  ~TListView() override;

  int ColumnCount() const { return (int)columns_.size(); }
  const TListColumn& Column(int i) const { return columns_.at(i); }
  void AddColumn(const std::string& caption, int width);
  void ClearColumns();

  int Count() const { return (int)items_.size(); }
  TListItem* Items(int i) const { return items_.at(i).get(); }
  // A new empty row at the end.
  TListItem* Add();
  void Delete(int index);
  void Clear();
  // The first selected row, or nullptr.
  TListItem* Selected() const;
  int ItemIndex() const;
  void SetItemIndex(int i);
  // Redrawing waits until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle s);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v) { hideSelection_ = v; }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v) { multiSelect_ = v; }

  // Hot tracking: the row under the mouse is highlighted and selected.
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v);

  TNotifyEvent OnChange;  // the selection moved
  // A click on a column's header; the argument is the column's index.
  TEvent<void(TObject*, int)> OnColumnClick;
  void WndProc(TMessage& m) override;

 protected:
  friend class TListItem;
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void InsertColumnWindow(int i);
  void InsertRowWindow(int i);
  void SetCellWindow(int row, int column, const std::string& text);
  void ApplyExtendedStyle();

  std::vector<TListColumn> columns_;
  std::vector<std::unique_ptr<TListItem>> items_;
  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  bool rowSelect_ = false, gridLines_ = false, readOnly_ = false, hideSelection_ = true, multiSelect_ = false;
  bool hotTrack_ = false;
  int updateCount_ = 0;
};

void RegisterListView();
