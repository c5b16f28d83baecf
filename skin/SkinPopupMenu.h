// TSkinPopupMenu: the skinner of one menu window ("#32768") that the system shows (context
// menus, drop-down menus of a menu bar, system menus). It replaces the menu window's
// procedure, paints the outer frame and background from the skin's MenuBackground element
// and lets the menu draw its items over it; the owner-drawn items take their background
// from the current pop-up skinner's picture.
//
// Made, owned and freed by the skin manager; GUI thread only.
#pragma once
#include <windows.h>

#include "platform/forms/WindowSubclass.h"
#include "platform/graphics/Bitmap.h"

class TSkinData;

class TSkinPopupMenu {
 public:
  TSkinPopupMenu() = default;
  ~TSkinPopupMenu() { Detach(); }
  TSkinPopupMenu(const TSkinPopupMenu&) = delete;
  TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;

  void Attach(HWND window, TSkinData* data, int tag);
  // Gives the menu window its procedure back; a second call does nothing.
  void Detach();

  HWND Window() const { return window_; }
  TSkinData* SkinData() const { return data_; }
  int Tag() const { return tag_; }
  bool Attached() const { return subclass_.Installed(); }
  // The last composed MenuBackground picture of the window's full size.
  TBitmap& Image() { return image_; }
  bool Mark = false;

 private:
  LRESULT Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  // Composes the background; false when the skin has no MenuBackground picture.
  bool Compose();
  void PaintFrame();
  LRESULT Print(HDC dc, WPARAM wp, LPARAM lp);

  TWindowSubclass subclass_;
  HWND window_ = nullptr;
  TSkinData* data_ = nullptr;
  TBitmap image_;
  int tag_ = 0;
};

// The pop-up skinner that last composed its picture with tag 0, or null.
TSkinPopupMenu* CurrentPopupSkinner();
