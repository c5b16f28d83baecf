// A group box of radio buttons made from a list of texts: one choice, by index.
// The group owns the buttons it makes for its items. GUI thread only.
#pragma once
#include <string>
#include <vector>

#include "platform/forms/GroupBox.h"

class TRadioGroup : public TCustomRadioGroup {
  KARV_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  explicit TRadioGroup(TComponent* owner);

  // The choices; setting them makes one radio button each and clears the choice.
  std::vector<std::string> Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  // The chosen item, or -1 (none).
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int n);
  // The radio button of an item (for tests and the skin engine).
  TRadioButton* Button(int index) const { return buttons_.at(index); }
  void SetBounds(int left, int top, int width, int height) override;

 private:
  void ButtonClick(TObject* sender);
  void Arrange();
  std::vector<std::string> items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
};

void RegisterRadioGroup();
