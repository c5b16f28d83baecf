// The skinned control base: attaching to control objects and bare windows, switching off and
// on, the end of the window, property access by name and the caption line breaks.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/forms/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinSubclass.h"
#include "tests/support/TestApplication.h"

namespace {
// Counts its paintings; "paints" means the skin drew over the control.
class TCountingSkin : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  int paints = 0;
  void Paint(HDC, const RECT&) override { ++paints; }
  using TSkinControl::DrawButtonCaption;
};

struct Fixture {
  Fixture() {
    testing_support::TestApplication();
    form.reset(new TForm(nullptr));
    form->SetBounds(10, 10, 200, 120);
    data = New<TSkinData>(form.get());
    skinner = New<TSkinForm>(form.get());
  }
  TOwned<TForm> form;
  TSkinData* data = nullptr;
  TSkinForm* skinner = nullptr;
};
}  // namespace

TEST(SkinControl, AttachesOnceAndSwitchesOffAndOn) {
  Fixture f;
  auto* button = New<TButton>(f.form.get());
  button->SetParent(f.form.get());
  button->SetBounds(5, 5, 80, 24);
  button->SetColor(clRed);
  button->Handle();
  auto* skin = New<TCountingSkin>(button);
  skin->Attach(f.skinner, f.data, true, &f.skinner->ControlCanvas());
  skin->Attach(f.skinner, f.data, true, &f.skinner->ControlCanvas());
  EXPECT_EQ(button->WindowProc.Owner(), skin);
  EXPECT_EQ(f.skinner->SkinObjects().size(), 1u) << "a second attach hooks nothing more";
  EXPECT_EQ(button->Color(), f.data->Model().ButtonFace) << "recoloured";
  EXPECT_EQ(skin->LifeState(), kSkinAttached);

  button->Perform(WM_PAINT, (WPARAM)GetDC(button->Handle()));
  EXPECT_EQ(skin->paints, 1);
  button->Perform(SKIN_ACTIVE, 0);
  EXPECT_FALSE(skin->SkinActive());
  button->Perform(WM_SETTEXT, 0, (LPARAM) "Off");
  button->Perform(WM_PAINT, (WPARAM)GetDC(button->Handle()));
  EXPECT_EQ(skin->paints, 1) << "switched off: messages pass unchanged, nothing is painted";
  EXPECT_EQ(skin->CaptionText(), "") << "nor is the caption tracked";
  button->Perform(SKIN_ACTIVE, 1);
  EXPECT_TRUE(skin->SkinActive());
  button->Perform(WM_SETTEXT, 0, (LPARAM) "On");
  EXPECT_EQ(skin->CaptionText(), "On");

  TComponent::Free(skin);
  EXPECT_TRUE(f.skinner->SkinObjects().empty());
  EXPECT_NE(button->WindowProc.Owner(), skin) << "the control's WindowProc is given back";
}

TEST(SkinControl, TheWindowsEndRestoresTheColour) {
  Fixture f;
  auto* panel = New<TPanel>(f.form.get());
  panel->SetParent(f.form.get());
  panel->SetColor(clBlue);
  panel->Handle();
  auto* skin = New<TCountingSkin>(panel);
  skin->Attach(f.skinner, f.data, true, &f.skinner->ControlCanvas());
  EXPECT_NE(panel->Color(), clBlue);
  // The form's window goes first; its children get their last messages while objects live.
  DestroyWindow(f.form->Handle());
  EXPECT_EQ(skin->LifeState(), kSkinDead);
  EXPECT_EQ(panel->Color(), clBlue);
  f.skinner->PurgeDeadSkinObjects();
  EXPECT_TRUE(f.skinner->SkinObjects().empty());
}

TEST(SkinControl, BareWindowIsSubclassedAndGivenBack) {
  Fixture f;
  HWND parent = f.form->Handle();
  HWND h = CreateWindowExA(0, "BUTTON", "bare", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  WNDPROC original = (WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC);
  auto* skin = New<TCountingSkin>(f.skinner);
  skin->AttachHandle(h, f.data, f.skinner, &f.skinner->ControlCanvas());
  EXPECT_NE((WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC), original);
  EXPECT_EQ(skin->CaptionText(), "bare");
  SendMessageA(h, WM_PAINT, (WPARAM)GetDC(h), 0);
  EXPECT_EQ(skin->paints, 1);
  TComponent::Free(skin);
  EXPECT_EQ((WNDPROC)GetWindowLongPtrA(h, GWLP_WNDPROC), original);
  EXPECT_TRUE(f.skinner->SkinObjects().empty());
}

TEST(SkinControl, PropertiesByNameAnswerDefaultsForMissingOnes) {
  Fixture f;
  auto* check = New<TCheckBox>(f.form.get());
  check->SetChecked(true);
  auto* bit = New<TBitBtn>(f.form.get());
  EXPECT_EQ(TSkinControl::GetEnumPropName(check, "State"), "cbchecked");
  EXPECT_EQ(TSkinControl::GetEnumPropName(check, "Checked"), "true");
  EXPECT_EQ(TSkinControl::GetOrdPropByName(bit, "NumGlyphs"), 1);
  EXPECT_EQ(TSkinControl::GetEnumPropName(bit, "Layout"), "blglyphleft");
  EXPECT_EQ(TSkinControl::GetOrdPropByName(check, "NoSuchThing"), 0);
  EXPECT_EQ(TSkinControl::GetEnumPropName(check, "NoSuchThing"), "");
  EXPECT_EQ(TSkinControl::GetStrPropByName(check, "Checked"), "") << "another kind answers empty";
  EXPECT_EQ(TSkinControl::GetObjPropByName(bit, "Glyph", "TFont"), nullptr);
  EXPECT_NE(TSkinControl::GetObjPropByName(bit, "Glyph", "TGlyph"), nullptr);
  TSkinControl::SetPropFromString(check, "State", "cbUnchecked");
  EXPECT_FALSE(check->Checked());
  TSkinControl::SetPropFromString(check, "Flat", "True");  // missing: nothing happens
  TSkinControl::SetPropFromString(check, "State", "nonsense");
  EXPECT_FALSE(check->Checked());
}

TEST(SkinControl, CaptionWithDoubleBarsIsDrawnOnTwoLines) {
  Fixture f;
  TCountingSkin skin(nullptr);
  TBitmap one(120, 60), two(120, 60);
  RECT r{0, 0, 120, 60};
  for (TBitmap* b : {&one, &two}) {
    b->Canvas().Brush().SetColor(clWhite);
    b->Canvas().FillRect(r);
  }
  skin.DrawButtonCaption(one.Canvas(), r, DT_CENTER, "Alpha Beta");
  skin.DrawButtonCaption(two.Canvas(), r, DT_CENTER, "Alpha||Beta");
  EXPECT_EQ(skin.CaptionText(), "Alpha\r\nBeta");
  auto inkRows = [](TBitmap& b) {
    int first = -1, last = -1;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (b.PixelAt(x, y) != b.PixelAt(0, 0)) {
          if (first < 0) first = y;
          last = y;
        }
    return last - first;
  };
  EXPECT_GT(inkRows(two), inkRows(one) * 3 / 2) << "the second line lies below the first";
}
