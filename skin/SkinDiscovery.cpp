// Control discovery: which skin object each control of a skinned window gets. Controls of
// the class library are matched by the application's event, the class map, their class and
// their class name; the children of a plain dialog by their window class. Every skin object
// is made through the skin object table (SkinKinds.h).
#include <windows.h>

#include <algorithm>
#include <string_view>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinCommonCtrls.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinKinds.h"
#include "skin/SkinSubclass.h"

namespace {
constexpr int kNoNeed = -1;

bool HasTabImages(const TSkinData* d) { return d->Model().Tabs && !d->Model().Tabs->Bitmap.Empty(); }

// Controls owned by `c` are walked too (panels, group boxes, forms inside forms).
void WalkOwned(TSkinForm& f, TControl* c) { f.SkinControls(c); }

// One row of the class table: when `match` holds and the skin data has `needs` (and tab
// images where asked), `act` makes the skin object. A row whose element is missing is
// skipped unless `stop` says the search ends there anyway.
struct TClassRow {
  bool (*match)(TControl* c, const std::string& upper);
  int needs;
  bool tabs;
  void (*act)(TSkinForm& f, TControl* c);
  bool stop;
};

bool Is(TControl* c, const char* cls) { return c->InheritsFrom(cls); }

const TClassRow kClassRows[] = {
    {[](TControl* c, const std::string&) { return Is(c, "TCustomTabControl"); }, skTab, true,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinTab", c, TSkinAttach::Handle); }, false},
    {[](TControl*, const std::string& n) { return n == "TTABSET"; }, skTab, true,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinTab31", c, TSkinAttach::Recolour0); }, false},
    {[](TControl*, const std::string& n) { return n == "TTABBEDNOTEBOOK"; }, skTab, true,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinTab", c, TSkinAttach::Handle); }, false},
    {[](TControl*, const std::string& n) { return n == "TVIEWPANEL"; }, kNoNeed, false, WalkOwned, true},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomCheckBox"); }, skCheckBox, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinCheckBox", c, TSkinAttach::Recolour0); }, false},
    {[](TControl*, const std::string& n) { return n == "TTRACKBAR"; }, skButton, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinTrackBar", c, TSkinAttach::Recolour0); }, false},
    {[](TControl*, const std::string& n) { return n == "TUPDOWN" || n == "TSPINBUTTON"; }, skButton, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinUpDown", c, TSkinAttach::Recolour0); }, false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomRadioGroup"); }, skRadioButton, false,
     [](TSkinForm& f, TControl* c) {
       if (auto* w = dynamic_cast<TWinControl*>(c))
         for (int i = 0; i < w->ControlCount(); ++i) f.AttachNew("TSkinRadioButton", w->Controls(i), TSkinAttach::Recolour0);
       f.AttachNew("TSkinGroupBox", c, TSkinAttach::Recolour1);
     },
     false},
    {[](TControl*, const std::string& n) { return n == "TDBNAVIGATOR"; }, skPanel, false,
     [](TSkinForm& f, TControl* c) {
       // The panel skinner lends the property and gives it back when it detaches.
       if (auto* box = dynamic_cast<TSkinBox*>(f.AttachNew("TSkinBox", c, TSkinAttach::Recolour1)))
         box->LendProperty("Flat", "True");
     },
     false},
    {[](TControl*, const std::string& n) { return n == "TDBGLYPHCHECKBOX"; }, skCheckBox, false,
     [](TSkinForm& f, TControl* c) {
       if (TSkinControl* s = CreateSkinObject("TSkinObjImage", c)) {
         s->SetKind(1);
         s->Attach(&f, f.SkinData(), true, &f.ControlCanvas());
       }
     },
     false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomGroupBox"); }, skPanel, false,
     [](TSkinForm& f, TControl* c) {
       f.AttachNew("TSkinGroupBox", c, TSkinAttach::Recolour1);
       WalkOwned(f, c);
     },
     false},
    {[](TControl* c, const std::string&) { return Is(c, "TRadioButton"); }, skRadioButton, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinRadioButton", c, TSkinAttach::Recolour0); }, false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomStatusBar"); }, skStatusBar, false,
     [](TSkinForm& f, TControl* c) {
       f.AttachNew("TSkinStatusBar", c, TSkinAttach::Recolour0);  // switches the size grip off itself
     },
     false},
    {[](TControl* c, const std::string&) { return Is(c, "TProgressBar"); }, skProgress, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinProgress", c, TSkinAttach::Recolour0); }, false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomComboBox"); }, skCombo, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinComBox", c, TSkinAttach::Recolour0); }, false},
    {[](TControl*, const std::string& n) { return n == "TDATETIMEPICKER"; }, skEdit, false,
     [](TSkinForm& f, TControl* c) {
       if (TSkinControl::GetOrdPropByName(c, "DateMode") != 1 && TSkinControl::GetOrdPropByName(c, "Kind") != 1)
         f.AttachNew("TSkinComBox", c, TSkinAttach::Recolour0);
       else
         f.AttachNew("TSkinEdit", c, TSkinAttach::Handle);
     },
     false},
    {[](TControl*, const std::string& n) { return n == "TRICHEDIT" || n == "TDBRICHEDITEX" || n == "TDBMEMOEX"; },
     skScrollbar, false, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinScrollbar", c, TSkinAttach::Scrollbars); },
     false},
    {[](TControl* c, const std::string&) { return Is(c, "TBitBtn"); }, skBitBtn, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinBitButton", c, TSkinAttach::Recolour0); }, true},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomPanel"); }, skPanel, false,
     [](TSkinForm& f, TControl* c) {
       f.AttachNew("TSkinBox", c, TSkinAttach::Recolour1);
       WalkOwned(f, c);
     },
     false},
    {[](TControl*, const std::string& n) { return n == "TTREELISTEX" || n == "TDBTREELISTEX" || n == "TDBGRIDEX"; },
     skScrollbar, false, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinScrollbar", c, TSkinAttach::Scrollbars); },
     false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomListView"); }, skScrollbar, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinListView", c, TSkinAttach::Scrollbars); }, false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomMemo") || TSkinForm::HasScrollBars(c); }, skScrollbar,
     false, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinScrollbar", c, TSkinAttach::Scrollbars); }, false},
    {[](TControl* c, const std::string&) { return Is(c, "TButton"); }, skButton, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinButton", c, TSkinAttach::Recolour0); }, false},
    {[](TControl* c, const std::string&) { return Is(c, "TCustomEdit"); }, skEdit, false,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinEdit", c, TSkinAttach::Handle); }, false},
    {[](TControl*, const std::string& n) { return n != "TBUTTONEDITEX" && n != "TDBBUTTONEDITEX"; }, kNoNeed, false,
     [](TSkinForm& f, TControl* c) {
       if (!Is(c, "TCustomForm")) return;
       f.AttachNew("TSkinBox", c, TSkinAttach::Recolour1);
       WalkOwned(f, c);
     },
     true},
    {[](TControl*, const std::string&) { return true; }, kNoNeed, false,
     [](TSkinForm& f, TControl* c) {
       int buttons = TSkinControl::GetOrdPropByName(c, "NumButtons");
       if (buttons == 1 && f.SkinData()->Has(skCombo)) f.AttachNew("TSkinComBox", c, TSkinAttach::Recolour0);
       if (buttons == 0 && f.SkinData()->Has(skEdit)) f.AttachNew("TSkinEdit", c, TSkinAttach::Handle);
     },
     true},
};

// Kinds of the class map: the kind name, what it needs, and what it makes.
struct TKindRow {
  std::string_view kind;
  int needs;
  void (*act)(TSkinForm& f, TControl* c);
};

void EachChild(TControl* c, void (*fn)(TSkinForm&, TControl*), TSkinForm& f) {
  if (auto* w = dynamic_cast<TWinControl*>(c))
    for (int i = 0; i < w->ControlCount(); ++i) fn(f, w->Controls(i));
}

const TKindRow kKindRows[] = {
    {"combobox", skCombo, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinComBox", c, TSkinAttach::Recolour0); }},
    {"edit", skEdit, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinEdit", c, TSkinAttach::Handle); }},
    {"radiobutton", skRadioButton,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinRadioButton", c, TSkinAttach::Recolour0); }},
    {"panel", skPanel,
     [](TSkinForm& f, TControl* c) {
       if (auto* box = dynamic_cast<TSkinBox*>(f.AttachNew("TSkinBox", c, TSkinAttach::Recolour1)))
         box->LendProperty("Transparent", "True");
     }},
    {"trackbar", skButton,
     [](TSkinForm& f, TControl* c) {
       if (auto* track = dynamic_cast<TSkinTrackBar*>(f.AttachNew("TSkinTrackBar", c, TSkinAttach::Recolour0)))
         track->LendProperty("Transparent", "True");
     }},
    {"button", skButton, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinButton", c, TSkinAttach::Recolour0); }},
    {"bitbtn", skButton, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinBitButton", c, TSkinAttach::Recolour0); }},
    {"speedbutton", skSpeedButton,
     [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinSpeedButton", c, TSkinAttach::Graphic); }},
    {"tab", skTab,
     [](TSkinForm& f, TControl* c) {
       if (HasTabImages(f.SkinData())) f.AttachNew("TSkinTab", c, TSkinAttach::Handle);
     }},
    {"progress", skProgress, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinProgress", c, TSkinAttach::Recolour0); }},
    {"scrollbar", skScrollbar,
     [](TSkinForm& f, TControl* c) {
       f.AttachNew("TSkinScrollbar", c, TSkinAttach::Scrollbars);
       WalkOwned(f, c);
     }},
    {"embedscrollbar", skScrollbar,
     [](TSkinForm& f, TControl* c) {
       EachChild(c, [](TSkinForm& f, TControl* child) {
         if (TSkinForm::HasScrollBars(child)) f.AttachNew("TSkinScrollbar", child, TSkinAttach::Scrollbars);
       }, f);
     }},
    {"container", kNoNeed,
     [](TSkinForm& f, TControl* c) {
       EachChild(c, [](TSkinForm& f, TControl* child) { f.SkinByKind(child->ClassName(), child); }, f);
     }},
    {"groupbox", skGroupBox, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinGroupBox", c, TSkinAttach::Recolour1); }},
    {"radiogroup", skGroupBox,
     [](TSkinForm& f, TControl* c) {
       if (f.SkinData()->Has(skRadioButton))
         EachChild(c, [](TSkinForm& f, TControl* child) {
           f.AttachNew("TSkinRadioButton", child, TSkinAttach::Recolour0);
         }, f);
       f.AttachNew("TSkinGroupBox", c, TSkinAttach::Recolour1);
     }},
    {"checkgroup", skPanel,
     [](TSkinForm& f, TControl* c) {
       if (f.SkinData()->Has(skRadioButton))
         EachChild(c, [](TSkinForm& f, TControl* child) {
           f.AttachNew("TSkinCheckBox", child, TSkinAttach::Recolour0);
         }, f);
       if (f.SkinData()->Has(skGroupBox)) f.AttachNew("TSkinGroupBox", c, TSkinAttach::Recolour1);
     }},
    {"checkbox", skCheckBox, [](TSkinForm& f, TControl* c) { f.AttachNew("TSkinCheckBox", c, TSkinAttach::Recolour0); }},
};

std::string WindowClassLower(HWND h) {
  char name[101] = "";
  GetClassNameA(h, name, sizeof name);
  return sys::LowerCase(name);
}

// The skin object class for a push-button window: the style's type, compared exactly, so
// owner-drawn buttons, push boxes and command links are not taken for check boxes.
const char* ButtonSkinClass(LONG_PTR style) {
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return "TSkinCheckBox";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return "TSkinRadioButton";
    case BS_GROUPBOX:
    case BS_OWNERDRAW:  // its owner paints it
      return nullptr;
    default:
      return "TSkinButton";
  }
}
}  // namespace

TSkinControl* TSkinForm::AttachNew(const char* skinClass, TControl* c, TSkinAttach how) {
  if (!c || !skinData_) return nullptr;
  TSkinControl* s = CreateSkinObject(skinClass, c);
  if (!s) return nullptr;
  switch (how) {
    case TSkinAttach::Recolour0:
    case TSkinAttach::Recolour1:
      s->Attach(this, skinData_, how == TSkinAttach::Recolour1, &controlCanvas_);
      break;
    case TSkinAttach::Handle:
      if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated())
        s->AttachHandle(w->HandleIfAllocated(), skinData_, this, &controlCanvas_);
      break;
    case TSkinAttach::Scrollbars:
      s->AttachScrollbars(c, skinData_, this);
      break;
    case TSkinAttach::Graphic:
      s->AttachGraphic(c, skinData_, this, &controlCanvas_);
      break;
  }
  // An object that did not take to its control is no use.
  if (!s->Attached() && std::find(skinObjects_.begin(), skinObjects_.end(), s) == skinObjects_.end()) {
    TComponent::Free(s);
    return nullptr;
  }
  return s;
}

TSkinControl* TSkinForm::AttachNewHandle(const char* skinClass, HWND h) {
  if (!skinClass || !skinData_) return nullptr;
  TSkinControl* s = CreateSkinObject(skinClass, this);
  if (!s) return nullptr;
  s->AttachHandle(h, skinData_, this, &controlCanvas_);
  if (!s->Attached()) {
    TComponent::Free(s);
    return nullptr;
  }
  return s;
}

void TSkinForm::SkinControls(TComponent* parent) {
  PurgeDeadSkinObjects();
  if (!parent || !skinData_) return;
  // Skinning may add components (skin objects) to `parent`: walk a copy.
  std::vector<TControl*> controls;
  for (int i = 0; i < parent->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(parent->Components(i))) controls.push_back(c);
  for (TControl* c : controls) SkinControl(c, parent);
}

void TSkinForm::SkinControl(TControl* c, TComponent* parent) {
  if (!skinData_ || !c) return;
  if (c->Tag() % 100 == skinData_->DisableTag() || IsSkinned(c)) return;
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    // Made here, it would load what its hidden page does not yet need: taken when it is made.
    if (w->WindowWaitsForShow() && !w->HandleAllocated()) {
      windowsWait_ = true;
      return;
    }
    try {
      w->HandleNeeded();
    } catch (...) {
      return;
    }
    if (!w->HandleAllocated()) return;
  }
  if (skinData_->OnSkinControl) {
    TComponent* made = nullptr;
    skinData_->OnSkinControl(this, skinData_, parent, c, c->ClassName(), made);
    if (auto* s = dynamic_cast<TSkinControl*>(made)) {
      if (std::find(skinObjects_.begin(), skinObjects_.end(), s) == skinObjects_.end())
        s->Attach(this, skinData_, s->Recolour(), &controlCanvas_);
      if (c->InheritsFrom("TCustomPanel")) SkinControls(c);
      return;
    }
  }
  std::string upper = sys::UpperCase(c->ClassName());
  if (SkinByKind(c->ClassName(), c) || upper == "TDBCOMBOBOXEX" || upper == "TREPORTPREVIEW" ||
      upper == "TREPORTDESIGNERPAGE" || upper == "TREPORTPBOX") {
    SkinControls(c);
    return;
  }
  for (const TClassRow& row : kClassRows) {
    if (!row.match(c, upper)) continue;
    bool has = (row.needs == kNoNeed || skinData_->Has((TSkinControlType)row.needs)) &&
               (!row.tabs || HasTabImages(skinData_));
    if (has) {
      row.act(*this, c);
      return;
    }
    if (row.stop) return;
  }
}

bool TSkinForm::SkinByKind(const std::string& className, TControl* c) {
  if (!skinData_) return false;
  std::string key = sys::LowerCase(className) + "=";
  const TStringList& map = skinData_->SkinClassMap();
  std::string kind;
  bool found = false;
  for (int i = 0; i < map.Count() && !found; ++i) {
    std::string line = sys::LowerCase(map[i]);
    if (line.compare(0, key.size(), key) == 0) {
      kind = line.substr(key.size(), 50);
      found = true;
    }
  }
  if (!found) return false;
  for (const TKindRow& row : kKindRows)
    if (row.kind == kind) {
      if (row.needs == kNoNeed || skinData_->Has((TSkinControlType)row.needs)) row.act(*this, c);
      break;
    }
  return true;  // "nil" and unknown kinds: handled, nothing made
}

bool TSkinForm::IsSkinned(TControl* c) const {
  auto* w = dynamic_cast<TWinControl*>(c);
  for (TSkinControl* s : skinObjects_) {
    if (s->SkinnedControl()) {
      if (s->SkinnedControl() == c) return true;
      continue;
    }
    if (!w) continue;
    if (w->HandleAllocated()) {
      if (s->WindowHandle() == w->HandleIfAllocated()) return true;
      continue;
    }
    std::string name = form_ ? form_->Name() : std::string();
    return sys::LowerCase(name).find("preview") != std::string::npos || name == "TReportStandardPreview" ||
           name == "TReportPrintPreview" || name == "TReportStdPreviewForm";
  }
  return false;
}

bool TSkinForm::HasScrollBars(TControl* c) {
  if (!c) return false;
  if (c->Tag() == 55) return true;
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) return false;
  if (w->HandleAllocated() && (GetWindowLongPtrA(w->HandleIfAllocated(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)))
    return true;
  return c->InheritsFrom("TListBox") || c->InheritsFrom("TCustomListBox") || c->InheritsFrom("TCustomMemo") ||
         c->InheritsFrom("TCustomTreeView") || c->InheritsFrom("TTreeView");
}

void TSkinForm::SkinChildWindows() {
  if (!window_) return;
  std::vector<HWND> children;
  for (HWND h = GetWindow(window_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) children.push_back(h);
  for (HWND h : children) SkinChildWindow(h);
}

void TSkinForm::SkinChildWindow(HWND h) {
  if (!h || !skinData_ || FindSkinObject(h)) return;
  std::string cls = WindowClassLower(h);
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  if (cls == "button") {
    AttachNewHandle(ButtonSkinClass(style), h);
  } else if (cls == "combobox") {
    if ((style & 3) != CBS_SIMPLE) AttachNewHandle("TSkinComBox", h);
  } else if (cls == "comboboxex32") {
    if (HWND child = GetWindow(h, GW_CHILD)) AttachNewHandle("TSkinComBox", child);
  } else if (cls == "scrollbar") {
    AttachNewHandle("TSkinSizer", h);
  } else if (cls == "#32770") {
    AttachNewHandle("TSkinBoxH", h);
  } else if (cls == "edit") {
    AttachNewHandle("TSkinEdit", h);
  }
}
