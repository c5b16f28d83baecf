// The skin model filled from the coded test skin and from small ini fixtures.
#include <gtest/gtest.h>

#include "skin/SkinObjects.h"
#include "tests/skin/SkinFixtures.h"
#include "tools/skinpack/CodedColours.h"

using codedskin::Colour;
using skintest::Rgb;

namespace {

bool Load(TSkinModel& m, const std::string& packed) { return LoadSkinModel(m, packed); }

struct CodedModel : testing::Test {
  void SetUp() override { ASSERT_TRUE(Load(m, skintest::BuildSkin("coded.skin"))); }
  TSkinModel m;
};

}  // namespace

TEST_F(CodedModel, BordersTitleAndButtons) {
  EXPECT_EQ(m.SkinName, "Coded");
  EXPECT_EQ(m.Left->FrameCount, 2);
  EXPECT_EQ(m.Left->TopHeight, 30);
  EXPECT_EQ(m.Left->BottomHeight, 4);
  EXPECT_EQ(m.Left->Tile, 1);
  EXPECT_EQ(m.Left->Trans, 0);
  EXPECT_EQ(m.Top->LeftWidth, 8);  // horizontal borders keep their fixed ends in the side margins
  EXPECT_EQ(m.Top->RightWidth, 8);
  EXPECT_EQ(m.Top->TopHeight, 0);
  EXPECT_EQ(m.Top->Bitmap.Height(), 60);
  EXPECT_EQ(Rgb(m.Top->Bitmap, 20, 45), Colour(codedskin::kTop, 2, 4));

  EXPECT_EQ(m.Title->FrameCount, 2);
  EXPECT_EQ(m.Title->LeftWidth, 30);   // TextShift
  EXPECT_EQ(m.Title->RightWidth, 100); // TextRightClip
  EXPECT_EQ(m.Title->ActiveText, RGBColor(255, 255, 255));
  EXPECT_EQ(m.Title->InActiveText, RGBColor(128, 128, 128));
  EXPECT_TRUE(m.Title->Bitmap.Empty());

  EXPECT_EQ(m.Buttons->FrameCount, 5);
  EXPECT_EQ(m.Buttons->LeftWidth, 3);
  EXPECT_EQ(m.Buttons->Trans, 1);
  EXPECT_EQ(m.Buttons->CheckButtonFrame, 4);
  EXPECT_TRUE(m.Buttons->HasNormalColour2);
  EXPECT_EQ(m.Buttons->NormalColour2, RGBColor(0x1E, 0x1E, 0x1E));
  EXPECT_EQ(m.Buttons->NormalColour, -1);
  EXPECT_EQ(Rgb(m.Buttons->CheckButton, 13 + 6, 6), Colour(codedskin::kCheck, 2, 4));
}

TEST_F(CodedModel, ElementsFrameCountsAndColours) {
  struct Case {
    const char* section;
    int frames;
  } cases[] = {{"Scrollbar", 23}, {"HorzScroll", 4}, {"HorzScrollThumb", 3}, {"Tabs", 5}, {"StatusBarEdges", 3},
               {"Progress", 2}, {"menuBar", 2}, {"GroupBox", 1}, {"GroupBoxEdge", 2}, {"Toolbars", 5},
               {"Headerbar", 5}, {"MenuItem", 5}, {"MenuBackground", 1}, {"UpDown.Vert", 8},
               {"Trackbar.ThumbDown", 5}, {"ExtraImages", 5}, {"SunkEdge", 4}, {"ComboButton", 4}};
  for (const Case& c : cases) {
    TDataSkinObject* o = m.Find(c.section);
    ASSERT_NE(o, nullptr) << c.section;
    EXPECT_EQ(o->FrameCount, c.frames) << c.section;
    EXPECT_FALSE(o->Bitmap.Empty()) << c.section;
  }
  EXPECT_EQ(m.HorzScroll->LeftWidth, 2);
  EXPECT_FALSE(m.Tabs->Bitmap2.Empty());
  EXPECT_FALSE(m.Progress->Bitmap2.Empty());
  EXPECT_FALSE(m.UpDownHorz->Bitmap2.Empty());
  EXPECT_EQ(m.GroupBox->BackgroundLeftShift, 4);

  EXPECT_EQ(m.ButtonFace, RGBColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(m.Hilight, RGBColor(0x00, 0x78, 0xD7));
  EXPECT_EQ(m.ColourTable.size(), 4u);
  EXPECT_EQ(m.CustomColours[3], RGBColor(0xE8, 0x11, 0x23));
  EXPECT_EQ(m.CustomColours[4], clWhite);
}

TEST_F(CodedModel, CaptionButtonsAndWindowControls) {
  ASSERT_EQ(m.SysButtons.size(), 5u + 3u);
  EXPECT_EQ(m.SysButtons[0]->Name, "BUTTON1");
  EXPECT_EQ(m.SysButtons[0]->Action, 0);
  EXPECT_EQ(m.SysButtons[0]->FrameCount, 4);
  EXPECT_EQ(m.SysButtons[1]->Visibility, 6);
  EXPECT_EQ(m.SysButtons[1]->Visibility1, 2);
  const TDataSkinSysButton& icon = *m.SysButtons[4];
  EXPECT_EQ(icon.Action, 3);
  EXPECT_TRUE(icon.Bitmap.Empty());  // the form skinner puts the window icon there
  EXPECT_EQ(icon.FrameCount, 6);
  for (int k = 0; k < 3; ++k) {
    const TDataSkinSysButton& b = *m.SysButtons[5 + k];
    EXPECT_EQ(b.Action, 7 + k);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Xcoord, (3 - k) * (16 + 4));
    ASSERT_EQ(b.Bitmap.Width(), 64);
    EXPECT_EQ(Rgb(b.Bitmap, 0, 0), Colour(codedskin::kMdiControls, 4 * k + 1, 4));
    EXPECT_EQ(Rgb(b.Bitmap, 63, 0), Colour(codedskin::kMdiControls, 4 * k + 4, 4));
  }
}

TEST_F(CodedModel, ComboImagesKeepFrameOrder) {
  const int a = GetSystemMetrics(SM_CXVSCROLL) + 2;
  const TDataSkinBorder& button = *m.ComboButton;
  EXPECT_EQ(button.Style, 2);
  EXPECT_EQ(button.LeftWidth, 2);
  EXPECT_EQ(button.RightWidth, a + 2);
  EXPECT_EQ(button.TopHeight, 2);
  ASSERT_EQ(button.Bitmap.Width(), 200);
  EXPECT_EQ(m.SunkEdge->LeftWidth, a + 2);
  EXPECT_EQ(m.SunkEdge->RightWidth, 2);
  for (int k = 1; k <= 4; ++k) {
    const int x0 = (k - 1) * 50;
    EXPECT_EQ(Rgb(button.Bitmap, x0, 0), Colour(codedskin::kSunkEdge, k, 0)) << k;
    EXPECT_EQ(Rgb(button.Bitmap, x0 + 48, 10), Colour(codedskin::kComboButton, k, 4)) << k;
    const int glyphX = 50 - a + (a - 13) / 2 + 6;  // the arrow glyph, centred in the button part
    EXPECT_EQ(Rgb(button.Bitmap, x0 + glyphX, 10), Colour(codedskin::kExtraImages, k, 4)) << k;
    EXPECT_EQ(Rgb(button.Bitmap, x0 + 10, 10), 0xFF00FFu) << k;  // the edit area is transparent
    // The mirrored strip keeps cell k in place: its right edge is the cell's left edge.
    EXPECT_EQ(Rgb(m.SunkEdge->Bitmap, x0 + 49, 0), Colour(codedskin::kSunkEdge, k, 0)) << k;
    EXPECT_EQ(Rgb(m.SunkEdge->Bitmap, x0 + 1, 10), Colour(codedskin::kComboButton, k, 4)) << k;
    // The first mirror of the plain button image keeps its frame order too.
    EXPECT_EQ(Rgb(button.Bitmap2, (k - 1) * 17 + 16, 5), Colour(codedskin::kComboButton, k, 4)) << k;
  }
}

TEST(SkinModel, SectionRulesFromSmallSkins) {
  const std::string bmp = skintest::Bmp(8, 8, 0x123456);
  TSkinModel m;
  ASSERT_TRUE(Load(m, skintest::Pack(
                          "[Personality]\r\nLeft=edge.bmp\r\nLeftFrame=0\r\nLeftStretch=2\r\nTop=EDGE.BMP\r\nTopFrame=-3\r\n"
                          "Right=dir\\edge.bmp\r\nBottom=missing.bmp\r\n"
                          "ActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\nInActiveTextR=1\r\nInActiveTextG=2\r\n"
                          "[Tabs]\r\nLeftWidth=4\r\nBorder=edge.bmp\r\n"
                          "[Toolbars]\r\nImage=edge.bmp\r\nTile=2\r\n"
                          "[Headerbar]\r\nImage=edge.bmp\r\nTile=1\r\n"
                          "[Colours]\r\nButtonFace=$0000FF\r\n"
                          "[Colour0]\r\ncolor=1\r\n[Colours1]\r\ncolor=2\r\n[colour2]\r\n[Colour8]\r\ncolor=0x10\r\n",
                          {{"edge.bmp", bmp}})));
  EXPECT_FALSE(m.Left->Bitmap.Empty());
  EXPECT_EQ(m.Left->FrameCount, 1);  // zero and negative frame counts cannot divide by zero
  EXPECT_EQ(m.Top->FrameCount, 1);
  EXPECT_EQ(m.Left->Tile, 2);        // a border's Stretch value is kept as it is
  EXPECT_TRUE(m.Top->Bitmap.Empty());  // ".BMP" is not ".bmp"
  EXPECT_FALSE(m.Right->Bitmap.Empty());  // the path before the file name is dropped
  EXPECT_TRUE(m.Bottom->Bitmap.Empty());
  EXPECT_EQ(m.Title->ActiveText, RGBColor(1, 2, 3));
  EXPECT_EQ(m.Title->InActiveText, clNone);  // a missing component leaves it unset
  EXPECT_EQ(m.Tabs, nullptr);                // no Image: absent, whatever else it has
  ASSERT_NE(m.Toolbars, nullptr);
  EXPECT_EQ(m.Toolbars->Tile, 0);  // Tile above 1 means stretch
  EXPECT_EQ(m.Headerbar->Tile, 1);
  EXPECT_EQ(m.Headerbar->NormalColour2, clBtnText);  // no colour text: the skin's ButtonText
  EXPECT_EQ(m.ButtonFace, 0xFF);
  EXPECT_EQ(m.Menubar, 0xFF);  // defaults to the ButtonFace just read
  EXPECT_EQ(m.WindowText, clWindowText);
  ASSERT_EQ(m.ColourTable.size(), 4u);  // Colour0, Colours1, colour2, Colour8; not Colours
  EXPECT_EQ(m.ColourTable[1], 2);
  EXPECT_EQ(m.ColourTable[2], clWindowText);
  EXPECT_EQ(m.ColourTable[3], 16);
  EXPECT_EQ(m.ComboButton, nullptr);
  EXPECT_EQ(m.SysButtons.size(), 3u);  // only the window controls, without images
  EXPECT_TRUE(m.SysButtons[0]->Bitmap.Empty());
}

TEST(SkinModel, CaptionButtonFilteringAndFrameGuesses) {
  TSkinModel m;
  ASSERT_TRUE(Load(m, skintest::Pack("[Buttons]\r\n[BUTTON.RADIO]\r\n[Button]\r\n[Other]\r\n"
                                     "[BUTTON1]\r\nAction=-1\r\nButtonImage=b57.bmp\r\n"
                                     "[BUTTON2]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=b57.bmp\r\n"
                                     "[button3]\r\nButtonImage=b57.bmp\r\n"
                                     "[ButtonWide]\r\nAction=2\r\nButtonImage=b114.bmp\r\n"
                                     "[BUTTON5]\r\nAction=11\r\nButtonImage=b57.bmp\r\n"
                                     "[BUTTON6]\r\nButtonImage=b57.bmp\r\nframe=2\r\n",
                                     {{"b57.bmp", skintest::Bmp(57, 19, 0x808080)},
                                      {"b114.bmp", skintest::Bmp(114, 19, 0x808080)}})));
  ASSERT_EQ(m.SysButtons.size(), 5u + 3u);
  struct Want {
    const char* name;
    int frames, visibility1;
    bool image;
  } want[] = {{"BUTTON2", 6, -1, true}, {"BUTTON3", 3, 0, true}, {"BUTTONWIDE", 6, 0, true},
              {"BUTTON5", 3, 0, false}, {"BUTTON6", 2, 0, true}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(m.SysButtons[i]->Name, want[i].name);
    EXPECT_EQ(m.SysButtons[i]->FrameCount, want[i].frames) << want[i].name;
    EXPECT_EQ(m.SysButtons[i]->Visibility1, want[i].visibility1) << want[i].name;
    EXPECT_EQ(!m.SysButtons[i]->Bitmap.Empty(), want[i].image) << want[i].name;
  }
  // Without an [MDICONTROLS] image the three MDI buttons stay empty and sit (3 - k) x 4 apart.
  for (int k = 0; k < 3; ++k) {
    const TDataSkinSysButton& b = *m.SysButtons[5 + k];
    EXPECT_EQ(b.Action, 7 + k);
    EXPECT_TRUE(b.Bitmap.Empty());
    EXPECT_EQ(b.Xcoord, (3 - k) * 4);
  }
}

TEST(SkinModel, CheckAndRadioFramesFromImageWidth) {
  TSkinModel m;
  ASSERT_TRUE(Load(m, skintest::Pack("[Buttons]\r\nCheckButton=c.bmp\r\nRadioButton=r.bmp\r\n",
                                     {{"c.bmp", skintest::Bmp(160, 16, 0)}, {"r.bmp", skintest::Bmp(26, 13, 0)}})));
  EXPECT_EQ(m.Buttons->CheckButtonFrame, 10);  // 16 high: frames 16 wide
  EXPECT_EQ(m.Buttons->RadioButtonFrame, 4);   // 2 frames of 13 become the minimum 4

  TSkinModel none;
  ASSERT_TRUE(Load(none, skintest::Pack("[Buttons]\r\nBitmap=b.bmp\r\n", {{"b.bmp", skintest::Bmp(50, 10, 0)}})));
  EXPECT_EQ(none.Buttons->CheckButtonFrame, 4) << "no image: 0 wide gives the minimum";
  EXPECT_EQ(none.Buttons->RadioButtonFrame, 4);
}

TEST(SkinModel, ColourTexts) {
  struct Case {
    const char* text;
    TColor want;
  } cases[] = {
      {"10,20,30", RGBColor(10, 20, 30)},
      {"10 20", RGBColor(10, 0, 0)},  // the number that ends the text counts only as the third
      {"255", RGBColor(0, 0, 0)},
      {" 1;2;3;4 ", RGBColor(1, 2, 3)},  // numbers past the third are ignored
      {"1,2,3,", RGBColor(1, 2, 3)},
      {"300,20,511", RGBColor(44, 20, 255)},  // low 8 bits of each component
      {"4294967297,1,2", RGBColor(0, 0, 0)},  // too long for 32 bits: never stored, later digits join it
      {"2147483647,1,2", RGBColor(255, 1, 2)},
      {"x", RGBColor(0, 0, 0)},
      {"", -7},
      {"   ", -7}};
  for (const Case& c : cases) EXPECT_EQ(ReadSkinColourText(c.text, -7), c.want) << c.text;
}
