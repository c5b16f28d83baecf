#include "platform/rtl/DataModule.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menus.h"
#include "platform/forms/Properties.h"

void RegisterFormProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  using F = TCustomForm;
  RegisterProperties(F::StaticClass(), {
      EnumProperty("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                   &F::BorderStyle, &F::SetBorderStyle),
      EnumProperty("Position",
                   {"poDesigned", "poDefault", "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                   &F::Position, &F::SetPosition),
      EnumProperty("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, &F::FormStyle,
                   &F::SetFormStyle),
      MakeProp<F>("Menu", TPropType::Object, [](const F* f) { return (TObject*)f->Menu(); },
                  [](F* f, const TPropValue& v) {
                    auto* o = std::get_if<TObject*>(&v);
                    f->SetMenu(o ? dynamic_cast<TMainMenu*>(*o) : nullptr);
                  }),
      MakeProp<F>("WindowMenu", TPropType::Object, [](const F* f) { return (TObject*)f->WindowMenu(); },
                  [](F* f, const TPropValue& v) {
                    auto* o = std::get_if<TObject*>(&v);
                    f->SetWindowMenu(o ? dynamic_cast<TMenuItem*>(*o) : nullptr);
                  }),
      EnumProperty("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, &F::WindowState, &F::SetWindowState),
      FlagsProperty("BorderIcons",
                    {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}},
                    &F::BorderIcons, &F::SetBorderIcons),
      BoolProperty("KeyPreview", &F::KeyPreview, &F::SetKeyPreview),
      IntProperty("ModalResult", &F::ModalResult, &F::SetModalResult),
      MakeProp<F>("ActiveControl", TPropType::Object, [](const F* f) { return (TObject*)f->ActiveControl(); },
                  [](F* f, const TPropValue& v) {
                    f->SetActiveControl(dynamic_cast<TWinControl*>(std::get<TObject*>(v)));
                  }),
      EventProp("OnCreate", &F::OnCreate),
      EventProp("OnShow", &F::OnShow),
      EventProp("OnHide", &F::OnHide),
      EventProp("OnActivate", &F::OnActivate),
      EventProp("OnDeactivate", &F::OnDeactivate),
      EventProp("OnDestroy", &F::OnDestroy),
      EventProp("OnClose", &F::OnClose),
      EventProp("OnCloseQuery", &F::OnCloseQuery),
      EventProp("OnPaint", &F::OnPaint),
  });
  using D = TDataModule;
  RegisterProperties(D::StaticClass(), {
      ComponentNameProperty(),
      EventProp("OnCreate", &D::OnCreate),
      EventProp("OnDestroy", &D::OnDestroy),
  });
}
