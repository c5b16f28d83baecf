#include "platform/forms/Graphics.h"

#include <cstring>

#include "platform/forms/Properties.h"
#include "platform/rtl/SysUtils.h"

COLORREF ColorToRGB(TColor c) {
  if ((uint32_t)c & 0x80000000u) return GetSysColor((int)((uint32_t)c & 0xFF));
  return (COLORREF)(c & 0xFFFFFF);
}

namespace {
struct ColorName {
  const char* name;
  TColor value;
};
const ColorName kColors[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clNone", clNone}, {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
    {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText}, {"clBtnText", clBtnText},
    {"clBtnShadow", clBtnShadow}, {"clBtnHighlight", clBtnHighlight}, {"clInfoBk", clInfoBk},
    {"clGrayText", clGrayText}};
}  // namespace

bool IdentToColor(const std::string& text, TColor& out) {
  for (const auto& c : kColors)
    if (sys::SameText(c.name, text)) {
      out = c.value;
      return true;
    }
  std::string t = sys::Trim(text);
  if (t.empty()) return false;
  int v = sys::StrToIntDef(t, 0x7FFFFFFF);
  if (v == 0x7FFFFFFF && t != "2147483647") return false;
  out = v;
  return true;
}

std::string ColorToIdent(TColor c) {
  for (const auto& k : kColors)
    if (k.value == c) return k.name;
  return "$" + sys::IntToHex((uint32_t)c, 8);
}

int ScreenPixelsPerInch() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

TFont::TFont() {
  static bool registered = [] {
    RegisterProperties(StaticClass(), {
        MakeProp<TFont>("Name", TPropType::String, [](const TFont* f) { return f->Name(); },
                        [](TFont* f, const TPropValue& v) { f->SetName(std::get<std::string>(v)); }),
        MakeProp<TFont>("Size", TPropType::Integer, [](const TFont* f) { return (int64_t)f->Size(); },
                        [](TFont* f, const TPropValue& v) { f->SetSize((int)std::get<int64_t>(v)); }),
        MakeProp<TFont>("Height", TPropType::Integer, [](const TFont* f) { return (int64_t)f->Height(); },
                        [](TFont* f, const TPropValue& v) { f->SetHeight((int)std::get<int64_t>(v)); }),
        MakeProp<TFont>("Color", TPropType::Integer, [](const TFont* f) { return (int64_t)f->Color(); },
                        [](TFont* f, const TPropValue& v) { f->SetColor((TColor)std::get<int64_t>(v)); }),
        MakeProp<TFont>("Charset", TPropType::Integer, [](const TFont* f) { return (int64_t)f->Charset(); },
                        [](TFont* f, const TPropValue& v) { f->SetCharset((int)std::get<int64_t>(v)); }),
        MakeProp<TFont>(
            "Style", TPropType::Set,
            [](const TFont* f) {
              std::vector<std::string> s;
              if (f->Style() & fsBold) s.push_back("fsBold");
              if (f->Style() & fsItalic) s.push_back("fsItalic");
              if (f->Style() & fsUnderline) s.push_back("fsUnderline");
              if (f->Style() & fsStrikeOut) s.push_back("fsStrikeOut");
              return s;
            },
            [](TFont* f, const TPropValue& v) {
              unsigned st = 0;
              for (const auto& e : std::get<std::vector<std::string>>(v)) {
                if (sys::SameText(e, "fsBold")) st |= fsBold;
                if (sys::SameText(e, "fsItalic")) st |= fsItalic;
                if (sys::SameText(e, "fsUnderline")) st |= fsUnderline;
                if (sys::SameText(e, "fsStrikeOut")) st |= fsStrikeOut;
              }
              f->SetStyle(st);
            },
            {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}),
    });
    return true;
  }();
  (void)registered;
}

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

int TFont::Height() const { return -MulDiv(size_, ScreenPixelsPerInch(), 72); }
void TFont::SetHeight(int h) { SetSize(MulDiv(h < 0 ? -h : h, 72, ScreenPixelsPerInch())); }

void TFont::Assign(const TFont& o) {
  name_ = o.name_;
  size_ = o.size_;
  color_ = o.color_;
  style_ = o.style_;
  charset_ = o.charset_;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && size_ == o.size_ && color_ == o.color_ && style_ == o.style_ && charset_ == o.charset_;
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = Height();
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = (BYTE)charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
  }
  return handle_;
}

void TFont::Changed() {
  if (handle_) {
    DeleteObject(handle_);
    handle_ = nullptr;
  }
  if (OnChange) OnChange(this);
}
