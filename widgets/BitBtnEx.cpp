#include "widgets/BitBtnEx.h"

#include "platform/forms/FormReader.h"

TBitBtnExtend::TBitBtnExtend(TComponent* owner) : TBitBtn(owner) { RegisterBitBtnEx(); }

void RegisterBitBtnEx() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterButtons();
  RegisterComponentClass<TBitBtnExtend>();
}
