#include "widgets/BitBtnEx.h"

#include "platform/forms/FormReader.h"
#include "platform/rtl/SysUtils.h"

TBitBtnExtend::TBitBtnExtend(TComponent* owner) : TBitBtn(owner) { RegisterBitBtnEx(); }

void RegisterBitBtnEx() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterButtons();
  RegisterComponentClass<TBitBtnExtend>();
}

void LoadGlyphResource(TBitBtnExtend* button, HMODULE library, const std::string& name) {
  if (!button) return;
  if (library) button->Glyph().LoadFromResourceName(library, sys::UpperCase(name));
  button->Invalidate();
}
