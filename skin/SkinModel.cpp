// Filling the skin model from the skin's ini text and the bitmaps of its archive.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "platform/rtl/SysUtils.h"
#include "skin/QuickIni.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinObjects.h"
#include "skin/SkinReader.h"

TSkinModel::TSkinModel()
    : Left(std::make_unique<TDataSkinBorder>("Left")),
      Right(std::make_unique<TDataSkinBorder>("Right")),
      Top(std::make_unique<TDataSkinBorder>("Top")),
      Bottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {
  CustomColours.fill(clWhite);
}

TDataSkinObject* TSkinModel::Find(std::string_view section) const {
  const std::pair<const char*, TDataSkinObject*> all[] = {
      {"Left", Left.get()}, {"Right", Right.get()}, {"Top", Top.get()}, {"Bottom", Bottom.get()},
      {"Title", Title.get()}, {"Buttons", Buttons.get()}, {"menuBar", MenuBar.get()},
      {"Progress", Progress.get()}, {"Tabs", Tabs.get()}, {"ComboButton", ComboButton.get()},
      {"UpDown.Horz", UpDownHorz.get()}, {"UpDown.Vert", UpDownVert.get()}, {"GroupBox", GroupBox.get()},
      {"GroupBoxEdge", GroupBoxEdge.get()}, {"Toolbars", Toolbars.get()}, {"StatusBarEdges", StatusBarEdges.get()},
      {"SunkEdge", SunkEdge.get()}, {"ExtraImages", ExtraImages.get()}, {"Headerbar", Headerbar.get()},
      {"MenuItem", MenuItem.get()}, {"MenuBackground", MenuBackground.get()}, {"Scrollbar", Scrollbar.get()},
      {"HorzScroll", HorzScroll.get()}, {"VertScroll", VertScroll.get()},
      {"HorzScrollThumb", HorzScrollThumb.get()}, {"VertScrollThumb", VertScrollThumb.get()},
      {"Trackbar.ThumbHorz", TrackbarThumbHorz.get()}, {"Trackbar.ThumbVert", TrackbarThumbVert.get()},
      {"Trackbar.ThumbLeft", TrackbarThumbLeft.get()}, {"Trackbar.ThumbRight", TrackbarThumbRight.get()},
      {"Trackbar.ThumbUp", TrackbarThumbUp.get()}, {"Trackbar.ThumbDown", TrackbarThumbDown.get()}};
  for (const auto& [name, object] : all)
    if (sys::SameText(name, section)) return object;
  return nullptr;
}

TColor ReadSkinColourText(std::string_view text, TColor def) {
  const std::string t = sys::Trim(text);
  if (t.empty()) return def;
  int rgb[3] = {0, 0, 0};
  int next = 0;
  std::string digits;
  // Stored skin files rely on this reading: a number ended by a separator fills the next
  // component, the number that ends the text counts only as the third, and a number too long
  // for 32 bits is not stored (the digits after it join it).
  auto store = [&](bool last) {
    if (digits.empty()) return;
    const long long v = digits.size() > 10 ? -1 : std::stoll(digits);
    if (v < 0 || v > 0x7FFFFFFF) return;
    if (!last && next < 3) rgb[next] = (int)v;
    if (last && next == 2) rgb[2] = (int)v;
    ++next;
    digits.clear();
  };
  for (char c : t) {
    if (c >= '0' && c <= '9') digits.push_back(c);
    else store(false);
  }
  store(true);
  return RGBColor(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
}

namespace {

constexpr int kComboFrames = 4;

// The elements read from an "Image" key with no extras: their section, where the model keeps
// them and the frames in their strip (0: the section's own "FrameCount", 3 when missing).
struct PlainElement {
  const char* section;
  std::unique_ptr<TDataSkinObject> TSkinModel::*slot;
  int frames;
};
constexpr PlainElement kPlainElements[] = {
    {"GroupBoxEdge", &TSkinModel::GroupBoxEdge, 2},
    {"Toolbars", &TSkinModel::Toolbars, 5},
    {"StatusBarEdges", &TSkinModel::StatusBarEdges, 3},
    {"SunkEdge", &TSkinModel::SunkEdge, 4},
    {"ExtraImages", &TSkinModel::ExtraImages, 5},
    {"Headerbar", &TSkinModel::Headerbar, 5},
    {"MenuItem", &TSkinModel::MenuItem, 5},
    {"MenuBackground", &TSkinModel::MenuBackground, 1},
    {"Scrollbar", &TSkinModel::Scrollbar, 23},
    {"HorzScroll", &TSkinModel::HorzScroll, 4},
    {"VertScroll", &TSkinModel::VertScroll, 4},
    {"HorzScrollThumb", &TSkinModel::HorzScrollThumb, 0},
    {"VertScrollThumb", &TSkinModel::VertScrollThumb, 0},
    {"Trackbar.ThumbHorz", &TSkinModel::TrackbarThumbHorz, 5},
    {"Trackbar.ThumbVert", &TSkinModel::TrackbarThumbVert, 5},
    {"Trackbar.ThumbLeft", &TSkinModel::TrackbarThumbLeft, 5},
    {"Trackbar.ThumbRight", &TSkinModel::TrackbarThumbRight, 5},
    {"Trackbar.ThumbUp", &TSkinModel::TrackbarThumbUp, 5},
    {"Trackbar.ThumbDown", &TSkinModel::TrackbarThumbDown, 5},
};

// One load: the archive, the ini and the model being filled.
class ModelLoader {
 public:
  ModelLoader(TSkinModel& m, const TSkinReader& r, const TQuickIni& i) : m_(m), reader_(r), ini_(i) {}
  void Run();

 private:
  std::string Str(const std::string& s, const std::string& k, const std::string& d = "") const {
    return ini_.ReadString(s, k, d);
  }
  int Int(const std::string& s, const std::string& k, int d) const { return ini_.ReadInteger(s, k, d); }
  TColor ColourText(const std::string& s, const std::string& k) const {
    return ReadSkinColourText(Str(s, k), m_.ButtonText);
  }

  void ReadBitmap(const std::string& section, const std::string& key, TBitmap& b) const;
  void ReadMargins(TDataSkinObject& o, const std::string& s) const;
  void ReadColours(TDataSkinObject& o, const std::string& s) const;
  template <class T>
  void ReadElement(std::unique_ptr<T>& slot, const std::string& s, bool style = true);
  void ReadSecondImage(std::unique_ptr<TDataSkinBorder>& slot, const std::string& s, const std::string& key);
  void ReadBorders();
  void ReadSkinColours();
  void ReadCaptionButtons();
  void ReadButtons();
  void ReadTitle();
  void ReadProgress();
  void ReadMenuBar();
  void ReadGroupBox();
  void SetFrameCounts();
  void BuildComboImages();

  TSkinModel& m_;
  const TSkinReader& reader_;
  const TQuickIni& ini_;
  TStringList sections_;
};

void ModelLoader::ReadBitmap(const std::string& section, const std::string& key, TBitmap& b) const {
  std::string value = Str(section, key);
  size_t sep = value.find_last_of("\\/:");
  std::string file = sep == std::string::npos ? value : value.substr(sep + 1);
  std::string member;
  if (!file.empty() && sys::ExtractFileExt(file) == ".bmp") reader_.ExtractFile(file, member);
  if (member.empty() || !b.LoadFromBytes(member)) b.Clear();
}

void ModelLoader::ReadMargins(TDataSkinObject& o, const std::string& s) const {
  o.LeftWidth = Int(s, "LeftWidth", 0);
  o.RightWidth = Int(s, "RightWidth", 0);
  o.TopHeight = Int(s, "TopHeight", 0);
  o.BottomHeight = Int(s, "BottomHeight", 0);
}

void ModelLoader::ReadColours(TDataSkinObject& o, const std::string& s) const {
  o.NormalColour = Int(s, "NormalColour", -1);
  o.MouseOverColour = Int(s, "MouseOverColour", -1);
  o.PressedColour = Int(s, "PressedColour", -1);
  o.NormalColour2 = ColourText(s, "NormalColour2");
  o.MouseOverColour2 = ColourText(s, "MouseOverColour2");
  o.PressedColour2 = ColourText(s, "PressedColour2");
}

template <class T>
void ModelLoader::ReadElement(std::unique_ptr<T>& slot, const std::string& s, bool style) {
  slot.reset();
  if (Str(s, "Image").empty()) return;
  slot = std::make_unique<T>(s);
  T& o = *slot;
  ReadBitmap(s, "Image", o.Bitmap);
  if (style) o.Style = Int(s, "Style", 0);
  ReadMargins(o, s);
  o.Trans = Int(s, "Trans", 0);
  o.Tile = Int(s, "Tile", 0);
  ReadColours(o, s);
  if (o.Tile > 1) o.Tile = 0;
}

void ModelLoader::ReadSecondImage(std::unique_ptr<TDataSkinBorder>& slot, const std::string& s, const std::string& key) {
  ReadElement(slot, s, false);
  if (slot && !Str(s, key).empty()) ReadBitmap(s, key, slot->Bitmap2);
}

void ModelLoader::ReadBorders() {
  const std::string p = "Personality";
  for (TDataSkinBorder* b : {m_.Left.get(), m_.Right.get(), m_.Top.get(), m_.Bottom.get()}) {
    const std::string& n = b->Name;
    if (b == m_.Left.get() || b == m_.Right.get()) {
      b->TopHeight = Int(p, n + "TopHeight", 0);
      b->BottomHeight = Int(p, n + "BotHeight", 0);
      b->LeftWidth = b->RightWidth = 0;
    } else {
      b->TopHeight = b->BottomHeight = 0;
      b->LeftWidth = Int(p, n + "TopHeight", 0);
      b->RightWidth = Int(p, n + "BotHeight", 0);
    }
    b->FrameCount = std::max(1, Int(p, n + "Frame", 1));
    b->Tile = Int(p, n + "Stretch", 1);
    b->Trans = Int(p, n + "Trans", 1);
    ReadBitmap(p, n, b->Bitmap);
  }
}

void ModelLoader::ReadSkinColours() {
  const std::string c = "Colours";
  m_.WindowText = Int(c, "WindowText", clWindowText);
  m_.ButtonText = Int(c, "ButtonText", clBtnText);
  m_.ButtonFace = Int(c, "ButtonFace", clBtnFace);
  m_.ButtonHilight = Int(c, "ButtonHilight", clBtnHighlight);
  m_.ScrollbarColour = Int(c, "Scrollbar", clScrollBar);
  m_.Buttonlight = Int(c, "Buttonlight", clBtnHighlight);
  m_.HilightText = Int(c, "HilightText", clHighlightText);
  m_.ButtonShadow = Int(c, "ButtonShadow", clBtnShadow);
  m_.Hilight = Int(c, "Hilight", clHighlight);
  m_.ButtonDkShadow = Int(c, "ButtonDkShadow", cl3DDkShadow);
  m_.Menubar = Int(c, "Menubar", m_.ButtonFace);
  m_.MenuBarText = Int(c, "MenuBarText", clMenuText);
  m_.Menu = Int(c, "Menu", clMenu);
  m_.TitleTextActive = Int(c, "TitleTextActive", clCaptionText);
  m_.MenuText = Int(c, "MenuText", clMenuText);
  m_.TitleTextNoActive = Int(c, "TitleTextNoActive", clInactiveCaptionText);
  m_.ColourTable.clear();
  for (const auto& it : sections_) {
    std::string up = sys::UpperCase(it.text);
    if (up.rfind("COLOUR", 0) == 0 && up != "COLOURS") m_.ColourTable.push_back(Int(it.text, "color", clWindowText));
  }
  for (int i = 0; i < 10; ++i) m_.CustomColours[i] = Int("Customcolors", "Color" + std::to_string(i), clWhite);
}

void ModelLoader::ReadCaptionButtons() {
  m_.SysButtons.clear();
  std::vector<std::string> kept;
  for (const auto& it : sections_) {
    std::string up = sys::UpperCase(it.text);
    if (up == "BUTTONS" || up == "BUTTON.RADIO" || up == "BUTTON.CHECKBOX" || up == "BUTTON") continue;
    if (up.rfind("BUTTON", 0) != 0) continue;
    if (Int(up, "Action", 0) == -1 && Int(up, "Visibility", -1) != 0) continue;
    kept.push_back(up);
  }
  for (const std::string& s : kept) {
    auto b = std::make_unique<TDataSkinSysButton>(s);
    b->Action = Int(s, "Action", 0);
    b->Align = Int(s, "Align", 0);
    b->Xcoord = Int(s, "Xcoord", 0);
    b->Ycoord = Int(s, "Ycoord", 0);
    b->Visibility = Int(s, "Visibility", 0);
    b->Visibility1 = Int(s, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = Int(s, "CombineOp", -1);
    b->FrameCount = Int(s, "frame", 0);
    ReadBitmap(s, "ButtonImage", b->Bitmap);
    if (b->FrameCount <= 0) {
      b->FrameCount = 6;
      if (!b->Bitmap.Empty()) b->FrameCount = (double)b->Bitmap.Width() / b->Bitmap.Height() <= 3.8 ? 3 : 6;
      if (b->Action < 0) b->FrameCount = 6;
      if (b->Action == 3 || b->Action == 11) b->Bitmap.Clear();
    }
    m_.SysButtons.push_back(std::move(b));
  }
  TBitmap strip;
  ReadBitmap("MDICONTROLS", "Image", strip);
  const int w = strip.Width() / 12;
  for (int k = 0; k < 3; ++k) {
    auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
    b->Action = 7 + k;
    b->Align = b->Visibility = b->Visibility1 = 100;
    b->FrameCount = 4;
    if (w > 0) {
      b->Bitmap.SetSize(4 * w, strip.Height());
      BitBlt(b->Bitmap.Canvas().Handle(), 0, 0, 4 * w, strip.Height(), strip.Canvas().Handle(), 4 * k * w, 0, SRCCOPY);
    }
    b->Xcoord = (3 - k) * (w + 4);  // also without a strip, where w is 0
    m_.SysButtons.push_back(std::move(b));
  }
}

void ModelLoader::ReadButtons() {
  const std::string s = "Buttons";
  TDataSkinButton& b = *m_.Buttons;
  ReadMargins(b, s);
  b.Trans = Int(s, "Trans", 0);
  b.Tile = Int(s, "Tile", 0);
  ReadBitmap(s, "Bitmap", b.Bitmap);
  ReadBitmap(s, "CheckButton", b.CheckButton);
  ReadBitmap(s, "RadioButton", b.RadioButton);
  ReadColours(b, s);
  b.RadioButtonFrame = Int(s, "RadioButtonFrame", 0);
  b.CheckButtonFrame = Int(s, "CheckButtonFrame", 0);
  b.HasNormalColour2 = !Str(s, "NormalColour2").empty();
  b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").empty();
  b.HasPressedColour2 = !Str(s, "PressedColour2").empty();
}

void ModelLoader::ReadTitle() {
  const std::string p = "Personality";
  TDataSkinTitle& t = *m_.Title;
  ReadBitmap(p, "TextBack", t.Bitmap);
  t.LeftWidth = Int(p, "TextShift", 0);
  t.TopHeight = Int(p, "TextShiftVert", 0);
  t.RightWidth = Int(p, "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = Int(p, "TextAlignment", 0);
  t.Textbackground = Int(p, "Textbackground", 0);
  t.TXTBackleft = Int(p, "TXTBackleft", 0);
  t.TXTBackRight = Int(p, "TXTBackRight", 0);
  t.FontHeight = Int("Fonts", "FontHeight", 14);
  auto rgb = [&](const std::string& name, TColor& field) {
    int r = Int(p, name + "R", -1), g = Int(p, name + "G", -1), b = Int(p, name + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0) field = RGBColor(r, g, b);
  };
  t.ActiveText = t.InActiveText = clNone;
  rgb("ActiveText", t.ActiveText);
  rgb("InActiveText", t.InActiveText);
}

void ModelLoader::ReadProgress() {
  const std::string s = "Progress";
  m_.Progress.reset();
  if (Str(s, "Bitmap").empty()) return;
  m_.Progress = std::make_unique<TDataSkinBorder>(s);
  TDataSkinBorder& o = *m_.Progress;
  ReadBitmap(s, "Bitmap", o.Bitmap);
  ReadBitmap(s, "Chunk", o.Bitmap2);
  o.Style = Int(s, "Style", 0);
  ReadMargins(o, s);
  o.Trans = Int(s, "Trans", 0);
  o.Tile = Int(s, "Tile", 0);
}

void ModelLoader::ReadMenuBar() {
  const std::string p = "Personality";
  m_.MenuBar.reset();
  if (Str(p, "menuBar").empty()) return;
  m_.MenuBar = std::make_unique<TDataSkinObject>("menuBar");
  TDataSkinObject& o = *m_.MenuBar;
  ReadBitmap(p, "menuBar", o.Bitmap);
  o.TopHeight = o.BottomHeight = 0;
  o.Tile = Int(p, "TileMenu", 0);
  o.LeftWidth = Int(p, "TileLeftMenu", 1);
  o.RightWidth = Int(p, "TileRightMenu", 1);
}

void ModelLoader::ReadGroupBox() {
  ReadElement(m_.GroupBox, "GroupBox");
  if (!m_.GroupBox) return;
  m_.GroupBox->BackgroundAlignment = Int("GroupBox", "BackgroundAlignment", 0);
  m_.GroupBox->BackgroundLeftShift = Int("GroupBox", "BackgroundLeftShift", 0);
  m_.GroupBox->BackgroundRightShift = Int("GroupBox", "BackgroundRightShift", 0);
}

void ModelLoader::SetFrameCounts() {
  auto set = [](auto& element, int frames) {
    if (element) element->FrameCount = frames;
  };
  set(m_.Buttons, 5);
  set(m_.Title, 2);
  set(m_.Progress, 2);
  set(m_.MenuBar, 2);
  set(m_.Tabs, 5);
  set(m_.GroupBox, 1);
  set(m_.ComboButton, kComboFrames);
  set(m_.UpDownHorz, 8);
  set(m_.UpDownVert, 8);
  for (const PlainElement& e : kPlainElements)
    set(m_.*e.slot, e.frames ? e.frames : std::max(1, Int(e.section, "FrameCount", 3)));

  TDataSkinButton& b = *m_.Buttons;
  auto boxFrames = [](int frames, const TBitmap& image) {
    if (frames > 0) return frames;
    const int frameWidth = image.Height() < 16 ? 13 : 16;
    return std::max(4, image.Width() / frameWidth);
  };
  b.RadioButtonFrame = boxFrames(b.RadioButtonFrame, b.RadioButton);
  b.CheckButtonFrame = boxFrames(b.CheckButtonFrame, b.CheckButton);
}

void ModelLoader::BuildComboImages() {
  if (!m_.SunkEdge || !m_.ComboButton) return;
  TDataSkinObject& edge = *m_.SunkEdge;
  TDataSkinBorder& button = *m_.ComboButton;
  const int a = GetSystemMetrics(SM_CXVSCROLL) + 2;
  constexpr int kCellW = 50, kCellH = 21;
  const int cells = std::max(1, edge.FrameCount);
  TBitmap strip(kCellW * cells, kCellH), cell(kCellW, kCellH);
  HBRUSH magenta = CreateSolidBrush(kSkinKeyColour);
  RECT all{0, 0, strip.Width(), kCellH};
  FillRect(strip.Canvas().Handle(), &all, magenta);
  const RECT whole{0, 0, kCellW, kCellH}, right{kCellW - a, 0, kCellW, kCellH}, inner{2, 2, 49 - a, 18};
  for (int k = 1; k <= cells; ++k) {
    HDC dc = cell.Canvas().Handle();
    FillRect(dc, &whole, magenta);
    DrawNinePart(dc, whole, edge.Bitmap, false, false, edge.Trans != 0, edge.FrameCount, k, edge.Margins());
    DrawFrame(dc, right, button.Bitmap, true, button.FrameCount, k);
    if (m_.ExtraImages) DrawFrameCentred(dc, right, m_.ExtraImages->Bitmap, true, m_.ExtraImages->FrameCount, k);
    FillRect(dc, &inner, magenta);
    BitBlt(strip.Canvas().Handle(), (k - 1) * kCellW, 0, kCellW, kCellH, dc, 0, 0, SRCCOPY);
  }
  DeleteObject(magenta);
  button.Style = 2;
  button.TopHeight = edge.TopHeight;
  button.BottomHeight = edge.BottomHeight;
  button.LeftWidth = 2;
  button.RightWidth = a + 2;
  button.Bitmap.Assign(strip);
  SkinMirrorBitmap(strip, cells);
  edge.Bitmap.Assign(strip);
  edge.LeftWidth = a + 2;
  edge.RightWidth = 2;
}

void ModelLoader::Run() {
  ini_.ReadSections(sections_);
  m_.SkinName = Str("TitlebarSkin", "SkinName");
  ReadBorders();
  ReadSkinColours();
  ReadCaptionButtons();
  ReadButtons();
  ReadTitle();
  ReadProgress();
  ReadMenuBar();
  ReadGroupBox();
  ReadSecondImage(m_.Tabs, "Tabs", "Border");
  ReadSecondImage(m_.ComboButton, "ComboButton", "****");
  if (m_.ComboButton && !m_.ComboButton->Bitmap.Empty()) {
    m_.ComboButton->Bitmap2.Assign(m_.ComboButton->Bitmap);
    SkinMirrorBitmap(m_.ComboButton->Bitmap2, kComboFrames);
  }
  for (const PlainElement& e : kPlainElements) ReadElement(m_.*e.slot, e.section);
  ReadSecondImage(m_.UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadSecondImage(m_.UpDownVert, "UpDown.Vert", "GlyphImage");
  SetFrameCounts();
  BuildComboImages();
}

}  // namespace

void LoadSkinModel(TSkinModel& model, const TSkinReader& reader, const TQuickIni& ini) {
  ModelLoader(model, reader, ini).Run();
}

bool LoadSkinModel(TSkinModel& model, std::string_view packed) {
  TSkinReader reader;
  if (!reader.Load(packed)) return false;
  std::string ini, name;
  reader.ExtractFileLike(".ini", ini, name);
  TQuickIni q;
  q.LoadFromStream(ini);
  LoadSkinModel(model, reader, q);
  return true;
}
