// Control discovery: which skin object class each control and each child window of a plain
// dialog gets, through the class map, the DisableTag and the SkinControls switches.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <utility>

#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GlyphCheckBox.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinKinds.h"
#include "skin/SkinSubclass.h"
#include "tests/support/TestApplication.h"

namespace {
const char* const kNames[] = {"TSkinButton",  "TSkinBitButton", "TSkinCheckBox",  "TSkinRadioButton", "TSkinEdit",
                              "TSkinComBox",  "TSkinScrollbar", "TSkinListView",  "TSkinBox",         "TSkinGroupBox",
                              "TSkinStatusBar", "TSkinTab",     "TSkinProgress",  "TSkinSizer",       "TSkinBoxH",
                              "TSkinObjImage"};

// Which class discovery asked for, by skin object.
std::map<const TSkinControl*, std::string>& Kinds() {
  static std::map<const TSkinControl*, std::string> kinds;
  return kinds;
}
// The real factories while the recorders stand in.
TSkinObjectFactory g_real[std::size(kNames)];

// A skin object that only remembers which class discovery asked for.
class TRecorder : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
};

// The scroll-bar classes attach in their own way, refusing what they cannot serve: those are
// the real objects, only noted.
bool AttachesItsOwnWay(const char* name) {
  return std::string(name) == "TSkinScrollbar" || std::string(name) == "TSkinListView";
}

template <size_t I>
TSkinControl* MakeRecorder(TComponent* owner) {
  TSkinControl* r = AttachesItsOwnWay(kNames[I]) ? g_real[I](owner) : new TRecorder(owner);
  Kinds()[r] = kNames[I];
  return r;
}

// Puts recorders in place of the skin object classes for one test.
struct Recorders {
  template <size_t... I>
  explicit Recorders(std::index_sequence<I...>) {
    Kinds().clear();
    (saved.emplace_back(kNames[I], g_real[I] = ReplaceSkinObjectClass(kNames[I], &MakeRecorder<I>)), ...);
  }
  Recorders() : Recorders(std::make_index_sequence<std::size(kNames)>()) {}
  ~Recorders() {
    for (auto& [name, make] : saved) ReplaceSkinObjectClass(name, make);
  }
  std::vector<std::pair<std::string, TSkinObjectFactory>> saved;
};

struct Fixture {
  Fixture() {
    testing_support::TestApplication();
    form.reset(new TForm(nullptr));
    form->SetBounds(10, 10, 400, 300);
    data = New<TSkinData>(form.get());
    skinner = New<TSkinForm>(form.get());
    skinner->SetSkinData(data);
    skinner->SetForm(form.get());
  }
  template <class T>
  T* Add(intptr_t tag = 0) {
    auto* c = New<T>(form.get());
    c->SetParent(form.get());
    c->SetTag(tag);
    return c;
  }
  // The class discovery chose for a control, or "" for none.
  std::string KindOf(TControl* c) {
    for (TSkinControl* s : skinner->SkinObjects())
      if (s->SkinnedControl() == c || (s->WindowHandle() && dynamic_cast<TWinControl*>(c) &&
                                       s->WindowHandle() == static_cast<TWinControl*>(c)->HandleIfAllocated()))
        return Kinds()[s];
    return "";
  }
  std::string KindOf(HWND h) {
    TSkinControl* s = skinner->FindSkinObject(h);
    return s ? Kinds()[s] : "";
  }
  Recorders recorders;
  TOwned<TForm> form;
  TSkinData* data = nullptr;
  TSkinForm* skinner = nullptr;
};
}  // namespace

TEST(SkinDiscovery, ControlsGetTheirClassesInTableOrder) {
  Fixture f;
  TPanel* panel = nullptr;
  // Made in this order; each control must get the class beside it.
  struct Case {
    TControl* control;
    const char* kind;
    const char* why;
  } cases[] = {
      {f.Add<TCheckBox>(), "TSkinCheckBox", ""},
      {f.Add<TDBGlyphCheckBox>(), "TSkinObjImage", "check boxes that take custom glyphs"},
      {f.Add<TButton>(), "TSkinButton", ""},
      {f.Add<TBitBtn>(), "TSkinBitButton", ""},
      {f.Add<TEdit>(), "TSkinEdit", ""},
      {f.Add<TMemo>(), "TSkinScrollbar", ""},
      {f.Add<TComboBox>(), "TSkinComBox", ""},
      {f.Add<TListBox>(), "TSkinScrollbar", ""},
      {f.Add<TListView>(), "TSkinListView", ""},
      {panel = f.Add<TPanel>(), "TSkinBox", ""},
      {f.Add<TGroupBox>(), "TSkinGroupBox", ""},
      {f.Add<TRadioButton>(), "TSkinRadioButton", ""},
      {f.Add<TStatusBar>(), "TSkinStatusBar", ""},
      {f.Add<TProgressBar>(), "TSkinProgress", ""},
      {f.Add<TButton>(199), "", "Tag 199 with DisableTag 99"},
      {f.Add<TButton>(55), "TSkinScrollbar", "Tag 55 asks for scroll bars before the button row"},
      {f.Add<TLabel>(55), "", "the scroll-bar object takes only windowed controls"},
  };
  f.skinner->SkinControls(f.form.get());
  for (const Case& c : cases) EXPECT_EQ(f.KindOf(c.control), c.kind) << c.why;
  EXPECT_EQ(panel->Color(), f.data->Model().ButtonFace) << "panels are recoloured";

  // A second walk finds every control skinned already.
  size_t count = f.skinner->SkinObjects().size();
  f.skinner->SkinControls(f.form.get());
  EXPECT_EQ(f.skinner->SkinObjects().size(), count);
}

TEST(SkinDiscovery, SwitchesAndTheClassMap) {
  Fixture f;
  TStringList map = f.data->SkinClassMap();
  map.Add("TCheckBox=nil");
  map.Add("TPanel=Button");
  map.Add("TEdit=unknownkind");
  f.data->SetSkinClassMap(map);
  f.data->SetSkinControls(f.data->SkinControls() & ~SkinSet(skBitBtn));
  auto* check = f.Add<TCheckBox>();
  auto* panel = f.Add<TPanel>();
  auto* edit = f.Add<TEdit>();
  auto* bit = f.Add<TBitBtn>();
  f.skinner->SkinControls(f.form.get());
  EXPECT_EQ(f.KindOf(check), "") << "nil";
  EXPECT_EQ(f.KindOf(panel), "TSkinButton") << "the map's kind, in any case";
  EXPECT_EQ(f.KindOf(edit), "") << "an unknown kind is handled by making nothing";
  EXPECT_EQ(f.KindOf(bit), "") << "without skBitBtn a bitmap button is not skinned as a button either";
}

TEST(SkinDiscovery, ClassesWithoutAnEntryStayUnskinned) {
  Fixture f;
  auto* button = f.Add<TButton>();
  TSkinObjectFactory saved = ReplaceSkinObjectClass("TSkinButton", nullptr);
  f.skinner->SkinControls(f.form.get());
  ReplaceSkinObjectClass("TSkinButton", saved);
  EXPECT_EQ(f.KindOf(button), "");
  EXPECT_TRUE(f.skinner->SkinObjects().empty());
}

TEST(SkinDiscovery, DialogChildWindowsByWindowClass) {
  Fixture f;
  HWND dlg = CreateWindowExA(0, "#32770", "dialog", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dlg, nullptr);
  f.skinner->SetWindow(dlg);
  auto child = [&](const char* cls, DWORD style) {
    return CreateWindowExA(0, cls, "x", WS_CHILD | style, 0, 0, 50, 20, dlg, nullptr, nullptr, nullptr);
  };
  struct Case {
    HWND h;
    const char* kind;
  } cases[] = {
      {child("BUTTON", BS_PUSHBUTTON), "TSkinButton"},
      {child("BUTTON", BS_DEFPUSHBUTTON), "TSkinButton"},
      {child("BUTTON", BS_AUTOCHECKBOX), "TSkinCheckBox"},
      {child("BUTTON", BS_3STATE), "TSkinCheckBox"},
      {child("BUTTON", BS_AUTORADIOBUTTON), "TSkinRadioButton"},
      {child("BUTTON", BS_GROUPBOX), ""},
      {child("BUTTON", BS_OWNERDRAW), ""},
      {child("BUTTON", BS_PUSHBOX), "TSkinButton"},
      {child("EDIT", 0), "TSkinEdit"},
      {child("COMBOBOX", CBS_DROPDOWNLIST), "TSkinComBox"},
      {child("COMBOBOX", CBS_SIMPLE), ""},
      {child("STATIC", 0), ""},
  };
  f.skinner->SkinChildWindows();
  for (const auto& c : cases) EXPECT_EQ(f.KindOf(c.h), c.kind) << std::hex << GetWindowLongPtrA(c.h, GWL_STYLE);
  f.skinner->FreeSkinObjects();
  DestroyWindow(dlg);
}
