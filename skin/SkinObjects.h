// The skin model: one data object per drawable element (frame borders, title, caption
// buttons, push buttons, scroll-bar parts, tabs, menus, ...) and the skin's colours, as the
// loader fills them from the skin's ini and bitmaps and the painters read them.
// The model owns every element and bitmap in it; painters only read it. GUI thread only.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Colors.h"
#include "platform/rtl/Object.h"
#include "skin/SkinPaint.h"

// One skin element. Frames of Bitmap lie side by side unless a painter says otherwise.
class TDataSkinObject : public TObject {
  KARV_CLASS(TDataSkinObject, TObject)
 public:
  explicit TDataSkinObject(const std::string& name) : Name(name) {}

  int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  TBitmap Bitmap;  // empty when the skin names none
  int Trans = 0;   // non-zero: magenta is transparent
  int Tile = 0;    // 1: the centre is tiled, 0: stretched (the four borders: the Stretch value)
  std::string Name;
  int FrameCount = 0;
  int Style = 0;
  int NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
  TColor NormalColour2 = clBtnText, MouseOverColour2 = clBtnText, PressedColour2 = clBtnText;

  TSkinMargins Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
};

// An element with a second image: the frame borders, Tabs ("Border"), ComboButton (its
// mirror), Progress ("Chunk"), the up-down buttons ("GlyphImage").
class TDataSkinBorder : public TDataSkinObject {
  KARV_CLASS(TDataSkinBorder, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Bitmap2;
};

// The caption text. Base fields: Bitmap = the text background, LeftWidth = TextShift,
// TopHeight = TextShiftVert, RightWidth = TextRightClip.
class TDataSkinTitle : public TDataSkinObject {
  KARV_CLASS(TDataSkinTitle, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;
  int TextAlignment = 0, Textbackground = 0, FontHeight = 14, TXTBackleft = 0, TXTBackRight = 0;
  TColor ActiveText = clNone, InActiveText = clNone;
};

class TDataSkinButton : public TDataSkinObject {
  KARV_CLASS(TDataSkinButton, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckButton, RadioButton;
  int RadioButtonFrame = 0, CheckButtonFrame = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

// A caption button.
class TDataSkinSysButton : public TDataSkinObject {
  KARV_CLASS(TDataSkinSysButton, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;
  int Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = -1, Visibility = 0, Visibility1 = 0;
};

// The group-box label.
class TDataSkinBoxLabel : public TDataSkinObject {
  KARV_CLASS(TDataSkinBoxLabel, TDataSkinObject)
 public:
  using TDataSkinObject::TDataSkinObject;
  int BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// Everything a loaded skin holds. Elements other than the borders, title and buttons are null
// when the skin does not name their image.
struct TSkinModel {
  TSkinModel();

  std::string SkinName;
  std::unique_ptr<TDataSkinBorder> Left, Right, Top, Bottom;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  // The skin's caption buttons in ini order, then the three window controls of a maximised
  // MDI child (actions 7, 8, 9).
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinBorder> Progress, Tabs, ComboButton, UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge, Toolbars, StatusBarEdges, SunkEdge, ExtraImages, Headerbar,
      MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb,
      TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight, TrackbarThumbUp,
      TrackbarThumbDown;

  TColor WindowText = clWindowText, ButtonText = clBtnText, ButtonFace = clBtnFace,
         ButtonHilight = clBtnHighlight, ScrollbarColour = clScrollBar, Buttonlight = clBtnHighlight,
         HilightText = clHighlightText, ButtonShadow = clBtnShadow, Hilight = clHighlight,
         ButtonDkShadow = cl3DDkShadow, Menubar = clBtnFace, MenuBarText = clMenuText, Menu = clMenu,
         TitleTextActive = clCaptionText, MenuText = clMenuText, TitleTextNoActive = clInactiveCaptionText;
  std::vector<TColor> ColourTable;
  std::array<TColor, 10> CustomColours;

  // The element made for an ini section ("Buttons", "ComboButton", "Trackbar.ThumbHorz", the
  // borders by "Left" ... "Bottom", the title by "Title", the menu bar by "menuBar"; any
  // case), or null.
  TDataSkinObject* Find(std::string_view section) const;
};

class TSkinReader;
class TQuickIni;

// Builds the model from an unpacked archive and its ini, in the loader's order: borders,
// colours, caption buttons, buttons, title, the elements, fixed frame counts and the derived
// combo-box images.
void LoadSkinModel(TSkinModel& model, const TSkinReader& reader, const TQuickIni& ini);
// The same from a packed skin, with the first member whose name holds ".ini" as the ini.
// False (the model untouched) when the reader refuses the skin.
bool LoadSkinModel(TSkinModel& model, std::string_view packed);

// A colour text: runs of decimal digits fill red, green and blue in order; the number that
// ends the text counts only as the third; each component keeps its low 8 bits. Empty text
// gives `def`.
TColor ReadSkinColourText(std::string_view text, TColor def);
