#include "platform/forms/Controls.h"
#include "platform/forms/Properties.h"

void RegisterControlProperties() {
  static bool done = false;
  if (done) return;
  done = true;
  using C = TControl;
  RegisterProperties(C::StaticClass(), {
      ComponentNameProperty(),
      ComponentTagProperty(),
      IntProperty("Left", &C::Left, &C::SetLeft),
      IntProperty("Top", &C::Top, &C::SetTop),
      IntProperty("Width", &C::Width, &C::SetWidth),
      IntProperty("Height", &C::Height, &C::SetHeight),
      MakeProp<C>("ClientWidth", TPropType::Integer, [](const C* c) { return (int64_t)c->ClientWidth(); },
                  [](C* c, const TPropValue& v) { c->SetClientSize((int)std::get<int64_t>(v), c->ClientHeight()); }),
      MakeProp<C>("ClientHeight", TPropType::Integer, [](const C* c) { return (int64_t)c->ClientHeight(); },
                  [](C* c, const TPropValue& v) { c->SetClientSize(c->ClientWidth(), (int)std::get<int64_t>(v)); }),
      BoolProperty("Visible", &C::Visible, &C::SetVisible),
      BoolProperty("Enabled", &C::Enabled, &C::SetEnabled),
      BoolProperty("ParentFont", &C::ParentFont, &C::SetParentFont),
      BoolProperty("ParentColor", &C::ParentColor, &C::SetParentColor),
      BoolProperty("ShowHint", &C::ShowHint, &C::SetShowHint),
      BoolProperty("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint),
      StringProperty("Caption", &C::Caption, &C::SetCaption),
      StringProperty("Text", &C::Caption, &C::SetCaption),
      StringProperty("Hint", &C::Hint, &C::SetHint),
      OrdProperty("Color", &C::Color, &C::SetColor),
      IntProperty("Cursor", &C::Cursor, &C::SetCursor),
      MakeProp<C>("Font", TPropType::Object, [](const C* c) { return (TObject*)&const_cast<C*>(c)->Font(); }, nullptr),
      EnumProperty("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &C::Align, &C::SetAlign),
      EventProp("OnClick", &C::OnClick),
      EventProp("OnDblClick", &C::OnDblClick),
      EventProp("OnMouseDown", &C::OnMouseDown),
      EventProp("OnMouseUp", &C::OnMouseUp),
      EventProp("OnMouseMove", &C::OnMouseMove),
      EventProp("OnMouseEnter", &C::OnMouseEnter),
      EventProp("OnMouseLeave", &C::OnMouseLeave),
      EventProp("OnResize", &C::OnResize),
  });
  using W = TWinControl;
  RegisterProperties(W::StaticClass(), {
      BoolProperty("TabStop", &W::TabStop, &W::SetTabStop),
      IntProperty("TabOrder", &W::TabOrder, &W::SetTabOrder),
      EventProp("OnKeyDown", &W::OnKeyDown),
      EventProp("OnKeyUp", &W::OnKeyUp),
      EventProp("OnKeyPress", &W::OnKeyPress),
      EventProp("OnEnter", &W::OnEnter),
      EventProp("OnExit", &W::OnExit),
  });
  RegisterProperties(TCustomControl::StaticClass(), {EventProp("OnPaint", &TCustomControl::OnPaint)});
}
