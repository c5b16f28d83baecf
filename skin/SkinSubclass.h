// TSkinControl: the base of the skin objects that draw one child control of a skinned form.
// A skin object takes over the control's messages (through the control's WindowProc, or by
// subclassing a bare window), lets the control do its own work, and paints the skin over
// it. It never changes what the control does; it only repaints and, for a few messages,
// keeps the control's own painting away.
//
// Ownership: a skin object of a control object is owned by that control (freed with it);
// one of a bare window is owned by the form skinner. It registers itself in the form
// skinner's list when attached and leaves it when destroyed. GUI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Component.h"
#include "platform/forms/Controls.h"
#include "platform/forms/WindowSubclass.h"

class TBitmap;
class TCanvas;
class TImageList;
class TSkinData;
class TSkinForm;
class TDataSkinObject;

// Private messages of the skin engine.
constexpr UINT SKIN_REFRESH = 0x3401;        // re-apply colours and size after a skin change
constexpr UINT SKIN_NCREPAINT = 0x3502;      // repaint the skinned frame
constexpr UINT SKIN_FINISH = 0x3503;         // posted once after install
constexpr UINT SKIN_QUERY = 0x3504;          // a skinned window answers 1
constexpr UINT SKIN_ACTIVE = 0x3506;         // wParam > 0 switches a skin object on, else off
constexpr UINT SKIN_CAPTIONACTION = 0x3514;  // a caption button with an application action
constexpr UINT SKIN_CAPTIONVISIBLE = 0x3515; // asks whether a caption button is visible

// The engine's lifecycle values of a skin object.
constexpr int kSkinAttached = 1;
constexpr int kSkinColourBack = 2;  // the colour was given back (group boxes)
constexpr int kSkinDead = 6;        // the window received WM_NCDESTROY

class TSkinControl : public TComponent {
  KARV_CLASS(TSkinControl, TComponent)
 public:
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  // --- virtual operations ---
  // Attaches to the owner control object: takes over its WindowProc.
  virtual void Attach(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas);
  // Attaches to a bare window by subclassing it.
  virtual void AttachHandle(HWND handle, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas);
  // Gives the control its own colour back when it was recoloured.
  virtual void Restore();
  // Runs before the control's own handling; false keeps the message from the control.
  virtual bool BeforeDefault(TMessage& m);
  // Runs after the control's own handling.
  virtual void AfterDefault(TMessage& m);
  // Paints over the whole window through the given DC, or the window DC for 0.
  virtual void PaintWindow(HDC dc);
  // Draws the skin; `r` is the window rectangle moved to the origin.
  virtual void Paint(HDC dc, const RECT& r) {}
  // After the skin has been (re)applied: recolours again and repaints.
  virtual void UpdateSkin();
  virtual bool CanSkin() { return true; }
  // Attach forms that only some skin objects answer (empty here): the scroll-bar objects
  // (and the list view's) attach to the scroll bars of a control, the speed-button object
  // to a windowless control, and the image object takes a kind (1: check-box glyphs).
  virtual void AttachScrollbars(TControl* control, TSkinData* skinData, TSkinForm* formSkinner) {}
  virtual void AttachGraphic(TControl* control, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) {}
  virtual void SetKind(int kind) {}

  // --- message path ---
  void SkinWndProc(TMessage& m);
  // The control's own handling of the message (its saved WindowProc or the old procedure).
  void CallDefault(TMessage& m);
  void InvalidateControl();
  // CM_MOUSELEAVE to another skin object's window.
  static void SendMouseLeave(TSkinControl* other);
  // WM_PAINT with the message's DC or a BeginPaint DC.
  void PaintMessage(TMessage& m);
  void FillFace(HDC dc, const RECT& r);
  void FillParentColor(HDC dc, const RECT& r);

  // --- published properties of any object, by name; a missing property or one of
  // another kind answers 0, "" or null, and setting it does nothing ---
  static int GetOrdPropByName(const TObject* o, std::string_view name);
  static std::string GetEnumPropName(const TObject* o, std::string_view name);  // lower case
  static std::string GetStrPropByName(const TObject* o, std::string_view name);
  static TObject* GetObjPropByName(const TObject* o, std::string_view name, std::string_view className = {});
  static void SetPropFromString(TObject* o, std::string_view name, const std::string& value);
  static bool IsPopupWindow(HWND h);

  // --- drawing primitives; none draws into an empty rectangle ---
  // One frame (1-based) of an element's strip in nine parts, transparent when its Trans says so.
  void DrawElement(HDC dc, const RECT& r, int frameCount, int frame, TDataSkinObject* element);
  // A frame of a side-by-side strip stretched over the rectangle, magenta transparent.
  static void DrawFrameStretched(TCanvas& target, const RECT& r, int frameCount, int frame, TBitmap& image);
  static void DrawFrameStretched(HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image);
  static void DrawFrameStretchedCopy(HDC dc, const RECT& r, int frameCount, int frame, TBitmap& image);
  // One glyph of a glyph strip at the rectangle's corner; the index counts only for a strip
  // of exactly 4 glyphs; glyph 2 (disabled) is drawn grey.
  static void DrawGlyph(TCanvas& canvas, const RECT& r, int glyphCount, int glyph, TBitmap& bitmap);
  // "||" becomes a line break; word-wrapped, vertically centred. The caption field keeps the
  // converted text.
  void DrawButtonCaption(TCanvas& canvas, const RECT& r, UINT alignment, const std::string& text);
  static void DrawTextVCentered(TCanvas& canvas, const RECT& r, UINT alignment, bool enabled, const std::string& text);
  // Single line, both ways centred; alignment 0 left, 1 right, 2 centre.
  static void DrawTextCentered(TCanvas& canvas, const RECT& r, int alignment, bool enabled, const std::string& text);
  // An image-list icon and a caption; alignment 0 left, 1 centre, 2 right.
  void DrawIconText(TCanvas& canvas, const RECT& r, int alignment, const std::string& text, int imageIndex,
                    TImageList* images);
  // Direction 0 up, 1 down, 2 left, 3 right.
  static void DrawArrow(TCanvas& canvas, int x, int y, int direction);
  static void BlitWorkBitmap(HDC dc, const RECT& r);

  // --- state ---
  HWND WindowHandle() const { return handle_; }
  TControl* SkinnedControl() const { return control_; }
  TSkinData* SkinData() const { return skinData_; }
  TSkinForm* FormSkinner() const { return formSkinner_; }
  bool Attached() const { return attached_; }
  bool SkinActive() const { return active_; }
  int LifeState() const { return lifeState_; }
  bool Recolour() const { return recolour_; }
  void SetRecolour(bool v) { recolour_ = v; }
  TControl* GraphicControl() const { return graphicControl_; }
  const std::string& CaptionText() const { return caption_; }

 protected:
  // The skin's ButtonFace colour, or the system's without skin data.
  TColor FaceColour() const;
  void RefreshEnabled();
  // What every attach to an owner control starts with: keeps the settings it is handed and
  // takes the owner as the skinned control (with its window when one exists).
  void BindOwner(TSkinForm* formSkinner, TSkinData* skinData, bool recolour, TCanvas* canvas);
  // Joins the form skinner's list of skin objects, when there is a form skinner.
  void Register();
  // Saves the control's colour for Restore and gives it the skin's face colour.
  void RecolourControl();
  // Follows the left button: pressed on a press or double-click, released on release, the
  // control repainted either way; false for any other message.
  bool TrackLeftButton(UINT msg);
  void MarkAttached() {
    attached_ = true;
    lifeState_ = kSkinAttached;
  }

  uint8_t mouseState_ = 0;  // bit 0 hover, bit 1 pressed
  TCanvas* canvas_ = nullptr;
  bool enabled_ = false;
  bool focused_ = false;
  std::string caption_;
  TWindowSubclass subclass_;  // bare windows only
  bool active_ = true;
  TSkinData* skinData_ = nullptr;
  HWND handle_ = nullptr;
  TWndMethod savedWindowProc_;  // control objects only
  TControl* control_ = nullptr;
  RECT windowRect_{};
  TControl* graphicControl_ = nullptr;
  bool recolour_ = false;
  TColor savedColor_ = 0;
  bool attached_ = false;
  int lifeState_ = 0;
  TSkinForm* formSkinner_ = nullptr;

  static constexpr uint8_t kHover = 1, kPressed = 2;

 private:
  LRESULT HandleProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
};
