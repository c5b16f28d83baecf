// Enter, Esc and Tab for the controls of a form: the keys a control leaves alone reach its
// form through TWinControl::PassDialogKey.
#include <algorithm>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/forms/StdCtrls.h"

namespace {
// The controls Tab visits, in tab order (then in the order they were made).
void CollectTabStops(TWinControl* parent, std::vector<TWinControl*>& out) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i))) children.push_back(w);
  std::stable_sort(children.begin(), children.end(), [](TWinControl* a, TWinControl* b) {
    int ta = a->TabOrder() < 0 ? 1 << 20 : a->TabOrder(), tb = b->TabOrder() < 0 ? 1 << 20 : b->TabOrder();
    return ta < tb;
  });
  for (TWinControl* w : children) {
    if (!w->Visible() || !w->Enabled()) continue;
    if (w->TabStop()) out.push_back(w);
    CollectTabStops(w, out);
  }
}
}  // namespace

bool TCustomForm::DialogKey(WORD key, TWinControl* focused) {
  if (key == VK_TAB) {
    std::vector<TWinControl*> stops;
    CollectTabStops(this, stops);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), focused);
    int n = (int)stops.size();
    int at = it == stops.end() ? -1 : (int)(it - stops.begin());
    bool back = GetKeyState(VK_SHIFT) < 0;
    int next = at < 0 ? 0 : (at + (back ? n - 1 : 1)) % n;
    stops[next]->SetFocus();
    return true;
  }
  if (key == VK_RETURN) {
    if (auto* b = dynamic_cast<TButton*>(focused)) {
      b->Click();
      return true;
    }
  }
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* b = dynamic_cast<TButton*>(Components(i));
    if (!b || !b->Showing() || !b->Enabled() || b->ParentForm() != this) continue;
    if ((key == VK_RETURN && b->Default()) || (key == VK_ESCAPE && b->Cancel())) {
      b->Click();
      return true;
    }
  }
  return false;
}
