// The picture button: its hover events swap the glyph, loaded by name from a picture
// library, in order and after the button's own hover state; without handlers it is a
// plain bitmap button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/WidgetsSupport.h"
#include "widgets/BitBtnEx.h"

using testing_support::PumpUntil;
using namespace widgets_testing;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

class BitBtnExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    library_ = LoadLibraryA((sys::ExtractFilePath(sys::ExeName()) + "widgets_glyphs.dll").c_str());
    ASSERT_NE(library_, nullptr);
    form_.reset(New<TForm>(nullptr));
    form_->SetBounds(100, 100, 300, 200);
    button_ = New<TBitBtnExtend>(form_.get());
    button_->SetParent(form_.get());
    button_->SetBounds(40, 40, 80, 40);
    ASSERT_TRUE(button_->Glyph().LoadFromResourceName(library_, "GlyphA"));
    form_->Show();
    PumpUntil([] { return false; }, 100);  // the window may still be placed after it is shown
  }
  void TearDown() override {
    form_.reset();
    FreeLibrary(library_);
  }
  POINT ButtonCentre() { return button_->ClientToScreen(POINT{button_->Width() / 2, button_->Height() / 2}); }
  // Paints the button as its parent's owner-draw request would, and reads the middle pixel.
  COLORREF PaintedMiddle() {
    MemoryCanvas canvas(button_->Width(), button_->Height());
    DRAWITEMSTRUCT d{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, button_->Handle(), canvas.Dc(),
                     RECT{0, 0, button_->Width(), button_->Height()}, 0};
    SendMessageA(form_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    return canvas.Pixel(button_->Width() / 2, button_->Height() / 2);
  }

  HMODULE library_ = nullptr;
  TOwned<TForm> form_;
  TBitBtnExtend* button_ = nullptr;
};

}  // namespace

TEST_F(BitBtnExTest, CrossingTheButtonSwapsTheGlyphOnEnterAndBackOnLeave) {
  std::vector<std::string> events;
  button_->OnMouseEnter = TNotifyEvent([&](TObject* s) {
    EXPECT_EQ(s, button_);
    EXPECT_TRUE(button_->Hot());  // the button's own hover handling came first
    events.push_back("enter");
    button_->Glyph().LoadFromResourceName(library_, "glyphb");  // names without regard to case
  });
  button_->OnMouseLeave = TNotifyEvent([&](TObject*) {
    EXPECT_FALSE(button_->Hot());
    events.push_back("leave");
    button_->Glyph().LoadFromResourceName(library_, "GLYPHA");
  });
  EXPECT_EQ(PaintedMiddle(), kRed);

  ASSERT_TRUE(MoveCursorTo(POINT{20, 20}));
  POINT c = ButtonCentre();
  SetCursorPos(c.x, c.y);
  ASSERT_TRUE(PumpUntil([&] { return events.size() == 1; }, 2000));
  EXPECT_EQ(button_->Glyph().Pixel(8, 8), kBlue);
  EXPECT_EQ(PaintedMiddle(), kBlue);
  SetCursorPos(c.x + 3, c.y + 2);  // moving inside is no new crossing
  ASSERT_TRUE(MoveCursorTo(POINT{20, 20}));
  ASSERT_TRUE(PumpUntil([&] { return events.size() == 2; }, 2000));
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(button_->Glyph().Pixel(8, 8), kRed);
  EXPECT_EQ(PaintedMiddle(), kRed);
}

TEST_F(BitBtnExTest, WithoutHandlersItIsAPlainBitmapButton) {
  int clicks = 0;
  button_->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  SendMessageA(button_->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  POINT c = ButtonCentre();
  SetCursorPos(c.x, c.y);
  ASSERT_TRUE(PumpUntil([&] { return button_->Hot(); }, 2000));
  ASSERT_TRUE(MoveCursorTo(POINT{20, 20}));
  ASSERT_TRUE(PumpUntil([&] { return !button_->Hot(); }, 2000));
  // The glyph's lower-left (magenta) pixel is its transparent colour: the face shows there.
  MemoryCanvas canvas(80, 40);
  button_->PaintButton(canvas.Dc(), RECT{0, 0, 80, 40}, 0);
  EXPECT_EQ(canvas.CountOf(RGB(255, 0, 255)), 0);
  EXPECT_EQ(canvas.CountOf(kRed), 16 * 16 - 1);
  EXPECT_FALSE(button_->Glyph().LoadFromResourceName(library_, "NoSuchGlyph"));
  EXPECT_EQ(button_->Glyph().Pixel(8, 8), kRed);  // unchanged
}
