#include "platform/forms/ImgList.h"

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"

TImageList::TImageList(TComponent* owner) : TComponent(owner) {
  RegisterImgList();
  Recreate();
}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

void TImageList::Recreate() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
}

void TImageList::SetWidth(int w) {
  if (w == width_ || w <= 0) return;
  width_ = w;
  Recreate();
}

void TImageList::SetHeight(int h) {
  if (h == height_ || h <= 0) return;
  height_ = h;
  Recreate();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::AddIcon(HICON icon) { return handle_ && icon ? ImageList_AddIcon(handle_, icon) : -1; }

int TImageList::AddMasked(HBITMAP strip, COLORREF transparent) {
  return handle_ && strip ? ImageList_AddMasked(handle_, strip, transparent) : -1;
}

int TImageList::AddBitmapFile(std::string_view bytes) {
  TGlyph strip;
  if (!strip.LoadFromBytes(bytes)) return -1;
  return AddMasked(strip.Handle(), RGB(255, 0, 255));
}

void TImageList::Delete(int index) {
  if (handle_ && index >= 0 && index < Count()) ImageList_Remove(handle_, index);
}

void TImageList::Clear() {
  if (handle_) ImageList_Remove(handle_, -1);
}

bool TImageList::GetIcon(int index, TIconImage& icon) const {
  if (!handle_ || index < 0 || index >= Count()) return false;
  HICON h = ImageList_GetIcon(handle_, index, ILD_NORMAL);
  if (!h) return false;
  icon.SetHandle(h);
  return true;
}

bool TImageList::Draw(HDC dc, int x, int y, int index) const {
  return handle_ && index >= 0 && index < Count() && ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
}

void RegisterImgList() {
  static bool done = false;
  if (done) return;
  done = true;
  using L = TImageList;
  RegisterProperties(L::StaticClass(), {
      ComponentNameProperty(),
      ComponentTagProperty(),
      IntProperty("Width", &L::Width, &L::SetWidth),
      IntProperty("Height", &L::Height, &L::SetHeight),
      MakeProp<L>("Bitmap", TPropType::Binary, [](const L*) { return std::string(); },
                  [](L* l, const TPropValue& v) {
                    const auto* bytes = std::get_if<std::string>(&v);
                    if (!bytes || l->AddBitmapFile(*bytes) < 0) throw Exception("invalid bitmap data");
                  }),
  });
  RegisterComponentClass<TImageList>();
}
