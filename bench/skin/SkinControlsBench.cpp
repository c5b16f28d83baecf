// bench_skin_controls: repainting a form of 50 controls skinned with the built-in skin,
// against the same form unskinned, measured in the same run. Target: within 3x.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/support/BenchTimer.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/GroupBox.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Memo.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"

namespace {

template <class C>
C* Add(TForm* form, int i, int w, int h) {
  auto* c = New<C>(form);
  c->SetParent(form);
  c->SetBounds(8 + (i % 5) * 150, 8 + (i / 5) * 44, w, h);
  c->SetCaption("Control " + std::to_string(i));
  return c;
}

// Fifty controls of the kinds the program's windows use.
void Populate(TForm* form) {
  for (int i = 0; i < 50; ++i) {
    switch (i % 10) {
      case 0: Add<TButton>(form, i, 120, 26); break;
      case 1: Add<TCheckBox>(form, i, 120, 21); break;
      case 2: Add<TEdit>(form, i, 120, 22); break;
      case 3: Add<TComboBox>(form, i, 120, 24)->Items().Add("one"); break;
      case 4: Add<TProgressBar>(form, i, 120, 18)->SetPosition(40); break;
      case 5: Add<TRadioButton>(form, i, 120, 21); break;
      case 6: Add<TPanel>(form, i, 120, 36); break;
      case 7: Add<TGroupBox>(form, i, 120, 40); break;
      case 8: {
        auto* list = Add<TListBox>(form, i, 120, 40);
        for (int k = 0; k < 20; ++k) list->Items().Add("Item " + std::to_string(k));
        break;
      }
      default: Add<TBitBtn>(form, i, 120, 26); break;
    }
  }
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

double RepaintSeconds(HWND form) {
  return SecondsPerRun(
      [&] {
        RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        GdiFlush();
      },
      2.0);
}

}  // namespace

int main() {
  TApplication app;
  Application = &app;
  app.Initialize();
  const std::string packed = sys::ReadFileBytes(std::string(KARV_SKINS_DIR) + "/builtin.skin");
  const uint32_t n = (uint32_t)packed.size();

  TOwned<TForm> form(new TForm(nullptr));
  form->SetBounds(10, 10, 780, 480);
  Populate(form.get());
  form->Show();
  Pump();
  HWND h = form->Handle();

  auto* data = New<TSkinData>(form.get());
  if (!data->ReadSkinPack(std::string(reinterpret_cast<const char*>(&n), 4) + packed)) {
    std::fprintf(stderr, "bench_skin_controls: the built-in skin does not load\n");
    return 1;
  }
  const double plain = RepaintSeconds(h);
  auto* skinner = New<TSkinForm>(form.get());
  skinner->SetSkinData(data);
  skinner->SetWindow(h);
  skinner->SkinControls(form.get());
  Pump();
  const double skinned = RepaintSeconds(h);
  std::printf("form of 50 controls, one repaint: unskinned %.3f ms, skinned %.3f ms (%zu skin objects)\n",
              plain * 1e3, skinned * 1e3, skinner->SkinObjects().size());
  std::printf("ratio skinned / unskinned: %.2fx (target: within 3x)\n", skinned / plain);
  return 0;
}
