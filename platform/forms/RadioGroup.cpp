#include "platform/forms/RadioGroup.h"

#include <algorithm>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"

namespace {
constexpr int kCaptionSpace = 16;  // the caption line above the buttons
constexpr int kMargin = 8;
}  // namespace

TRadioGroup::TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {
  RegisterRadioGroup();
  width_ = 185;
  height_ = 105;
}

void TRadioGroup::SetItems(const std::vector<std::string>& items) {
  for (TRadioButton* b : buttons_) TComponent::Free(b);
  buttons_.clear();
  items_ = items;
  itemIndex_ = -1;
  for (const std::string& text : items_) {
    auto* b = new TRadioButton(this);
    b->SetCaption(text);
    b->SetParent(this);
    b->OnClick = TNotifyEvent(this, &TRadioGroup::ButtonClick);
    buttons_.push_back(b);
  }
  Arrange();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= (int)buttons_.size()) return;
  itemIndex_ = index;
  for (int i = 0; i < (int)buttons_.size(); ++i) {
    // Checking a button fires its click; the group reports only the user's clicks.
    TNotifyEvent keep = buttons_[i]->OnClick;
    buttons_[i]->OnClick = nullptr;
    buttons_[i]->SetChecked(i == index);
    buttons_[i]->OnClick = keep;
  }
}

void TRadioGroup::SetColumns(int n) {
  columns_ = std::max(1, n);
  Arrange();
}

void TRadioGroup::SetBounds(int left, int top, int width, int height) {
  TCustomRadioGroup::SetBounds(left, top, width, height);
  Arrange();
}

void TRadioGroup::Arrange() {
  if (buttons_.empty()) return;
  int rows = ((int)buttons_.size() + columns_ - 1) / columns_;
  int columnWidth = std::max(1, (width_ - 2 * kMargin) / columns_);
  int rowHeight = std::max(1, (height_ - kCaptionSpace - 4) / rows);
  for (int i = 0; i < (int)buttons_.size(); ++i) {
    int column = i / rows, row = i % rows;
    buttons_[i]->SetBounds(kMargin + column * columnWidth, kCaptionSpace + row * rowHeight, columnWidth - 4,
                           std::min(rowHeight, 20));
  }
}

void TRadioGroup::ButtonClick(TObject* sender) {
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  itemIndex_ = (int)(it - buttons_.begin());
  Click();
}

void RegisterRadioGroup() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterGroupControls();
  using R = TRadioGroup;
  RegisterProperties(R::StaticClass(), {
      StringsProperty("Items", &R::Items, &R::SetItems),
      IntProperty("ItemIndex", &R::ItemIndex, &R::SetItemIndex),
      IntProperty("Columns", &R::Columns, &R::SetColumns),
  });
  RegisterComponentClass<R>();
}
