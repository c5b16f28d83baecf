#include <gtest/gtest.h>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormReader.h"
#include "platform/forms/Memo.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Properties.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Exception.h"
#include "tests/support/TestSupport.h"

using testing_support::PumpUntil;
using testing_support::PumpFor;

class TTestFrm : public TForm {
  KARV_CLASS(TTestFrm, TForm)
 public:
  using TForm::TForm;
  TPanel* pnlTop = nullptr;
  TButton* btnOk = nullptr;
  TLabel* lblHint = nullptr;
  TEdit* yName = nullptr;
  TTimer* Timer1 = nullptr;
  TTimer* Timer2 = nullptr;
  int created = 0, clicks = 0, labelClicks = 0, changes = 0, ticks = 0, ticks2 = 0;
  void FormCreate(TObject*) { ++created; }
  void btnOkClick(TObject*) { ++clicks; }
  void lblHintClick(TObject*) { ++labelClicks; }
  void yNameChange(TObject*) { ++changes; }
  void Timer1Timer(TObject*) { ++ticks; }
  void Timer2Timer(TObject*) { ++ticks2; }
  TPublishedTable Published() override {
    return {KARV_FIELD(TTestFrm, pnlTop), KARV_FIELD(TTestFrm, btnOk),       KARV_FIELD(TTestFrm, lblHint),
            KARV_FIELD(TTestFrm, yName),  KARV_FIELD(TTestFrm, Timer1),      KARV_FIELD(TTestFrm, Timer2),
            KARV_HANDLER(TTestFrm, FormCreate),
            KARV_HANDLER(TTestFrm, btnOkClick), KARV_HANDLER(TTestFrm, lblHintClick),
            KARV_HANDLER(TTestFrm, yNameChange), KARV_HANDLER(TTestFrm, Timer1Timer), KARV_HANDLER(TTestFrm, Timer2Timer)};
  }
};

class FormsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static TApplication app;
    Application = &app;
    app.Initialize();
  }
};

TEST_F(FormsTest, DescriptionBuildsControlsAndWiresFieldsAndHandlers) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  EXPECT_EQ(f->created, 1);
  ASSERT_NE(f->btnOk, nullptr);
  EXPECT_EQ(f->Name(), "TestFrm");
  EXPECT_EQ(f->Caption(), "测试窗口");
  EXPECT_EQ(f->btnOk->Parent(), f->pnlTop);
  EXPECT_EQ(f->yName->Parent(), f.get());
  EXPECT_EQ(f->Timer1->Owner(), f.get());
  EXPECT_EQ(f->lblHint->Caption(), "提示\r二");
  EXPECT_EQ(f->yName->Text(), "it's");
  EXPECT_TRUE(f->lblHint->Font().Style() & fsBold);
  EXPECT_FALSE(f->btnOk->ParentFont() && f->lblHint->ParentFont());
  f->Show();
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_EQ(f->pnlTop->Width(), f->ClientWidth());  // aligned to the top
  EXPECT_EQ(f->pnlTop->Height(), 60);
}

TEST_F(FormsTest, RealClickMessagesRunHandlers) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  f->Show();
  SendMessageA(f->btnOk->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f->clicks, 1);
  // The label has no window: its parent's mouse messages at its place reach it.
  HWND panel = f->pnlTop->Handle();
  LPARAM at = MAKELPARAM(f->lblHint->Left() + 2, f->lblHint->Top() + 2);
  SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(panel, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(f->labelClicks, 1);
  SetWindowTextA(f->yName->Handle(), "abc");
  EXPECT_GE(f->changes, 1);
  EXPECT_EQ(f->yName->Text(), "abc");
}

TEST_F(FormsTest, PropertiesByName) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  EXPECT_EQ(GetStrProp(f->btnOk, "Caption"), "确定");
  EXPECT_EQ(GetOrdProp(f->btnOk, "ModalResult"), 1);
  EXPECT_EQ(GetEnumProp(f->pnlTop, "Align"), "altop");
  EXPECT_EQ(GetEnumProp(f->pnlTop, "BevelOuter"), "bvlowered");
  EXPECT_EQ(GetSetProp(GetObjectProp(f->lblHint, "Font"), "Style"), std::vector<std::string>{"fsbold"});
  SetStrProp(f->btnOk, "caption", "好");
  EXPECT_EQ(f->btnOk->Caption(), "好");
  SetEnumProp(f->pnlTop, "Align", "ALCLIENT");
  EXPECT_EQ(f->pnlTop->Align(), TAlign::alClient);
  SetOrdProp(f->yName, "Tag", 107);
  EXPECT_EQ(f->yName->Tag(), 107);
  EXPECT_TRUE(f->btnOk->InheritsFrom("TWinControl"));
  EXPECT_FALSE(f->lblHint->InheritsFrom("TWinControl"));
  EXPECT_EQ(f->ClassName(), "TTestFrm");
  EXPECT_THROW(GetStrProp(f->btnOk, "NoSuchProperty"), Exception);
  EXPECT_THROW(SetEnumProp(f->pnlTop, "Align", "alMiddle"), Exception);
  SetPropValue(f.get(), "BorderIcons", std::vector<std::string>{"biHelp", "BISYSTEMMENU"});
  EXPECT_EQ(f->BorderIcons(), unsigned(biSystemMenu | biHelp));
  EXPECT_EQ(GetSetProp(f.get(), "BorderIcons"), (std::vector<std::string>{"bisystemmenu", "bihelp"}));
}

// Enter and Esc reach the form's default and cancel buttons, except Enter in a memo; a form
// with KeyPreview sees its controls' keys first and may swallow them.
TEST_F(FormsTest, DialogKeysAndKeyPreview) {
  TOwned<TForm> f(new TForm(nullptr));
  auto* edit = new TEdit(f.get());
  auto* memo = new TMemo(f.get());
  auto* ok = new TButton(f.get());
  auto* cancel = new TButton(f.get());
  int oks = 0, cancels = 0, previewed = 0, editKeys = 0;
  for (TControl* c : std::initializer_list<TControl*>{edit, memo, ok, cancel}) c->SetParent(f.get());
  memo->SetTop(30);
  ok->SetTop(120);
  cancel->SetTop(150);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  ok->OnClick = TNotifyEvent([&](TObject*) { ++oks; });
  cancel->OnClick = TNotifyEvent([&](TObject*) { ++cancels; });
  edit->OnKeyDown = TKeyEvent([&](TObject*, WORD&, TShiftState) { ++editKeys; });
  f->OnKeyDown = TKeyEvent([&](TObject*, WORD& key, TShiftState) {
    ++previewed;
    if (key == VK_F2) key = 0;
  });
  f->Show();
  auto press = [](TWinControl* c, WORD key) {
    c->SetFocus();
    SendMessageA(c->Handle(), WM_KEYDOWN, key, 0);
  };
  press(edit, VK_RETURN);
  EXPECT_EQ(oks, 1);
  press(memo, VK_RETURN);
  EXPECT_EQ(oks, 1);
  press(edit, VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(previewed, 0);
  press(edit, VK_F2);
  EXPECT_EQ(previewed, 0);
  EXPECT_EQ(editKeys, 3);
  f->SetKeyPreview(true);
  press(edit, VK_F2);
  EXPECT_EQ(previewed, 1);
  EXPECT_EQ(editKeys, 3);
}

TEST_F(FormsTest, ModalLoopEndsWithTheButtonsModalResult) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  f->Timer1->OnTimer = TNotifyEvent([&](TObject*) {
    f->Timer1->SetEnabled(false);
    SendMessageA(f->btnOk->Handle(), BM_CLICK, 0, 0);
  });
  f->Timer1->SetEnabled(true);
  EXPECT_EQ(f->ShowModal(), mrOk);
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  EXPECT_EQ(f->clicks, 1);
}

TEST_F(FormsTest, TimerTicksUnderTheMessageLoop) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  f->Timer1->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return f->ticks >= 2; }, 3000));
  f->Timer1->SetEnabled(false);
  int seen = f->ticks;
  testing_support::PumpFor(200);
  EXPECT_EQ(f->ticks, seen);
}

// The description names the handler before the interval and leaves Enabled at its default.
TEST_F(FormsTest, ATimerEnabledByItsDescriptionRunsOnceLoaded) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  EXPECT_TRUE(PumpUntil([&] { return f->ticks2 >= 2; }, 3000));
  EXPECT_EQ(f->ticks, 0);  // its neighbour is disabled in the description
}

// The caption comes before the bold style: the size is the bold text's.
TEST_F(FormsTest, AnAutoSizedLabelFromADescriptionHasItsTextsSizeInItsFinalFont) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  LOGFONTA lf{};
  lf.lfHeight = f->lblHint->Font().Height();
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = (BYTE)f->lblHint->Font().Charset();
  lstrcpynA(lf.lfFaceName, f->lblHint->Font().Name().c_str(), LF_FACESIZE);
  HFONT bold = CreateFontIndirectA(&lf);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bold);
  RECT r{0, 0, 0, 0};
  const std::string text = f->lblHint->Caption();
  DrawTextA(dc, text.c_str(), (int)text.size(), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(bold);
  EXPECT_EQ(f->lblHint->Width(), r.right);
  EXPECT_EQ(f->lblHint->Height(), r.bottom);
  EXPECT_NE(r.right, 65);  // not the label's size before measuring
}

// Dark pixels of a window's client area within a rectangle.
static int DarkPixels(HWND h, RECT r) {
  HDC dc = GetDC(h);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++n;
    }
  ReleaseDC(h, dc);
  return n;
}

// A hidden form's label measures itself when it is shown or its size is read; what it
// shows is the whole measured text, not the text cut at its size from before measuring.
TEST_F(FormsTest, AHiddenFormsAutoSizedLabelShowsItsWholeTextWhenTheFormIsShown) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  f->lblHint->SetCaption("一行比六十五个像素长的提示");  // the description's size is 65 wide
  f->Show();
  PumpFor(300);
  RECT r = f->lblHint->BoundsRect();
  ASSERT_GT(r.right - r.left, 120);
  EXPECT_GT(DarkPixels(f->pnlTop->Handle(), RECT{r.left + 70, r.top, r.right, r.bottom}), 20);

  // On a panel shown later, in a form already shown.
  f->pnlTop->Hide();
  f->lblHint->SetCaption("另一行比六十五个像素长的提示");
  f->pnlTop->Show();
  PumpFor(300);
  r = f->lblHint->BoundsRect();
  EXPECT_GT(DarkPixels(f->pnlTop->Handle(), RECT{r.left + 70, r.top, r.right, r.bottom}), 20);
}

// A size set while the measure waits is the size kept, as when the label measured at once.
TEST_F(FormsTest, AWidthSetOnAHiddenFormsAutoSizedLabelIsKeptWhenTheFormIsShown) {
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  f->lblHint->SetBounds(100, 10, 150, 20);
  f->Show();
  PumpFor(100);
  EXPECT_EQ(f->lblHint->Width(), 150);
  f->lblHint->SetCaption("新");  // a new text measures again
  EXPECT_LT(f->lblHint->Width(), 40);
}

// Z-order position of a top-level window: 0 for the top.
static int ZPlace(HWND h) {
  int n = 0;
  for (HWND above = GetWindow(h, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) ++n;
  return n;
}

TEST_F(FormsTest, BringToFrontLiftsAFormAboveAnotherAndLeavesTopMostWindowsAboveIt) {
  TOwned<TTestFrm> a(CreateForm<TTestFrm>(nullptr)), b(CreateForm<TTestFrm>(nullptr));
  a->Show();
  b->Show();
  ASSERT_LT(ZPlace(b->Handle()), ZPlace(a->Handle()));
  a->BringToFront();
  EXPECT_LT(ZPlace(a->Handle()), ZPlace(b->Handle()));
  // A top-most window stays above; the form is still lifted above the other form.
  HWND topMost = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(topMost, nullptr);
  b->BringToFront();
  EXPECT_LT(ZPlace(b->Handle()), ZPlace(a->Handle()));
  EXPECT_LT(ZPlace(topMost), ZPlace(b->Handle()));
  a->BringToFront();
  EXPECT_LT(ZPlace(a->Handle()), ZPlace(b->Handle()));
  DestroyWindow(topMost);
}

TEST_F(FormsTest, BadDescriptionsAreRejectedWithTheirReason) {
  struct Case {
    const char* text;
    const char* expect;
  } cases[] = {
      {"object TestFrm: TTestFrm\n  object x: TNoSuchClass\n  end\nend", "class TNoSuchClass not found"},
      {"object TestFrm: TTestFrm\n  OnCreate = Missing\nend", "handler Missing not found"},
      {"object TestFrm: TTestFrm\n  Bogus = 1\nend", "property Bogus does not exist"},
      {"object TestFrm: TTestFrm\n  Caption = 'open\nend", "line 2: unterminated string"},
      {"object TestFrm: TTestFrm\n  object btnOk: TEdit\n  end\nend", "field btnOk does not fit"},
      {"object TestFrm: TTestFrm\nend", "field pnlTop has no component"},
      {"object TestFrm: TTestFrm\n  Left = 1x\nend", "invalid number"},
      {"object TestFrm: TTestFrm\n  OnCreate = btnOkClick\n  Visible = Maybe\nend", "True or False expected"},
      {"object TestFrm: TTestFrm\n  Caption = 'x'\n", "'end' expected"},
      {"object Other: TOtherFrm\nend", "not of TTestFrm"},
  };
  for (const auto& c : cases) {
    auto* f = new TTestFrm(nullptr);
    TOwned<TTestFrm> hold(f);
    try {
      f->LoadDescription(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.expect), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find("Error reading TTestFrm"), std::string::npos);
    }
  }
}

TEST_F(FormsTest, OwnerFreesComponentsAndHandlersCanBeTakenBack) {
  struct Listener {
    int n = 0;
    void OnTick(TObject*) { ++n; }
  } listener;
  TOwned<TTestFrm> f(CreateForm<TTestFrm>(nullptr));
  f->Show();
  HWND button = f->btnOk->Handle();
  f->Timer1->OnTimer = TNotifyEvent(&listener, &Listener::OnTick);
  f->Timer1->Fire();
  f->Timer1->OnTimer.ClearIfOwner(&listener);
  f->Timer1->Fire();
  EXPECT_EQ(listener.n, 1);
  f.reset();
  EXPECT_FALSE(IsWindow(button));
}
