// The image list component: pictures of one size over the common-controls image list.
// A form description fills it with "Bitmap = { ... }": a bitmap file holding the pictures
// side by side, magenta (0xFF00FF) marking transparent pixels.
// The component owns its system image list. GUI thread only.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string_view>

#include "platform/rtl/Component.h"
#include "platform/forms/Pictures.h"

class TImageList : public TComponent {
  KARV_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  // Changing the size empties the list.
  int Width() const { return width_; }
  void SetWidth(int w);
  int Height() const { return height_; }
  void SetHeight(int h);
  int Count() const;
  HIMAGELIST Handle() const { return handle_; }

  // Each returns the index of the first picture added, or -1.
  int AddIcon(HICON icon);
  // A strip of pictures; pixels of `transparent` become transparent (and are blackened in
  // `strip`, as the system does).
  int AddMasked(HBITMAP strip, COLORREF transparent);
  // A bitmap file as in a form description.
  int AddBitmapFile(std::string_view bytes);
  void Delete(int index);
  void Clear();
  // Copies picture `index` into `icon`; false (icon unchanged) for an index out of range.
  bool GetIcon(int index, TIconImage& icon) const;
  bool Draw(HDC dc, int x, int y, int index) const;

 private:
  void Recreate();
  HIMAGELIST handle_ = nullptr;
  int width_ = 16, height_ = 16;
};

void RegisterImgList();
