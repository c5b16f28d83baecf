// Skinned scroll bars. A built-in scroll bar belongs to its window's non-client area and
// cannot be painted reliably from outside, so a small window of ours, TOverlayScrollbar,
// lies exactly over each visible bar, paints the skinned bar, and hands every press to the
// real bar: the system keeps doing all the scrolling (arrow repeat, paging, thumb tracking)
// in its own loop. GUI thread; an overlay is owned by its skinner, a skinner by its control
// (or by the skinner or form skinner that made it for a bare window).
#pragma once
#include "platform/forms/Controls.h"
#include "platform/graphics/Bitmap.h"
#include "skin/SkinMetrics.h"
#include "skin/SkinSubclass.h"

class TSkinHeader;

// What the overlay lies over.
enum class TControlBarMode { BuiltInHorizontal = 0, BuiltInVertical = 1, Control = 2 };

class TOverlayScrollbar : public TCustomControl {
  KARV_CLASS(TOverlayScrollbar, TCustomControl)
 public:
  // `owner` is the skin object whose skin data paints the bar.
  explicit TOverlayScrollbar(TComponent* owner);

  // A control object's built-in bar (modes 0, 1), or a scroll-bar control (mode 2, its
  // "Kind" chooses the direction).
  void AttachControlBar(TWinControl* control, TControlBarMode mode);
  // A bare window's built-in bar (modes 0, 1).
  void AttachWindowBar(HWND target, TControlBarMode mode);
  // Follows the bar: shown over it and placed at its size, or hidden when it is hidden.
  void UpdateBar();
  void HideBar();
  bool BarVisible() const { return barVisible_; }
  void RepaintBar();
  // The scroll code of a point on the bar (bar coordinates along its axis).
  int HitTest(POINT p) const;
  // Set by the owner from the target's last WM_HSCROLL / WM_VSCROLL.
  void SetPressedPart(int part) { pressedPart_ = part; }
  bool Vertical() const { return vertical_; }
  HWND Target() const { return target_; }

  void WndProc(TMessage& m) override;

 protected:
  void Paint(HDC dc) override;
  HWND ParentHandleForCreate() override;

 private:
  bool ReadInfo(SCROLLBARINFO& info);
  bool GetControlBarInfo(SCROLLBARINFO& info);
  void Press(TMessage& m);
  void Release(TMessage& m);

  skinmetrics::ScrollGeometry geometry_;
  POINT barOffset_{};       // the bar's top-left on screen, as last read
  POINT cursorAtPress_{};   // screen
  int thumbAtPress_ = 0;
  bool tracking_ = false;
  bool vertical_ = false;
  int arrow_ = 0;
  HWND target_ = nullptr;
  TWinControl* targetControl_ = nullptr;  // control mode only
  TSkinControl* skin_;  // the owner
  TControlBarMode mode_ = TControlBarMode::BuiltInHorizontal;
  RECT barRect_{};  // in the target's client coordinates
  int pressedPart_ = -1;
  bool barVisible_ = false;
  TBitmap buffer_;
};

// Control objects with built-in bars: memos, lists, trees, grids.
class TSkinScrollbar : public TSkinControl {
  KARV_CLASS(TSkinScrollbar, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void AttachScrollbars(TControl* control, TSkinData* skinData, TSkinForm* formSkinner) override;
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
  void Restore() override;

  TOverlayScrollbar* HorzBar() const { return horz_; }
  TOverlayScrollbar* VertBar() const { return vert_; }

 protected:
  TOverlayScrollbar* horz_ = nullptr;  // owned (components of this object)
  TOverlayScrollbar* vert_ = nullptr;
};

// List views: the bars and the header.
class TSkinListView : public TSkinScrollbar {
  KARV_CLASS(TSkinListView, TSkinScrollbar)
 public:
  using TSkinScrollbar::TSkinScrollbar;
  void AttachScrollbars(TControl* control, TSkinData* skinData, TSkinForm* formSkinner) override;
  TSkinHeader* Header() const { return header_; }

 private:
  TSkinHeader* header_ = nullptr;  // owned
};

// Bare windows with built-in bars, and the list of a simple combo box.
class TSkinScrollbarH : public TSkinControl {
  KARV_CLASS(TSkinScrollbarH, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void AttachHandle(HWND handle, TSkinData* skinData, TSkinForm* formSkinner, TCanvas* canvas) override;
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
  void Restore() override;

  TOverlayScrollbar* HorzBar() const { return horz_; }
  TOverlayScrollbar* VertBar() const { return vert_; }

 private:
  TOverlayScrollbar* horz_ = nullptr;
  TOverlayScrollbar* vert_ = nullptr;
};

// Stand-alone scroll-bar control objects (properties Kind, Position, Min, Max, PageSize).
class TSkinScControl : public TSkinControl {
  KARV_CLASS(TSkinScControl, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  void AttachOverlayControl(TControl* control, TSkinData* skinData, TSkinForm* formSkinner);
  void AfterDefault(TMessage& m) override;
  void Paint(HDC dc, const RECT& r) override;
  void Restore() override;
  TOverlayScrollbar* Bar() const { return bar_; }

 private:
  TOverlayScrollbar* bar_ = nullptr;
};
