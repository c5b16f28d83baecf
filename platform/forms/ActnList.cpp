// Actions and action lists. An action leaves its list when freed; a list forgets its
// actions when it goes first.
#include "platform/forms/ActnList.h"

#include <algorithm>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/forms/StdCtrls.h"

TAction::TAction(TComponent* owner) : TComponent(owner) { RegisterActions(); }

TAction::~TAction() {
  SetActionList(nullptr);
  TellClients(true);
}

void TAction::SetCaption(const std::string& c) {
  if (c == caption_) return;
  caption_ = c;
  TellClients(false);
}

void TAction::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  TellClients(false);
}

void TAction::AddClient(TActionClient* c) {
  if (std::find(clients_.begin(), clients_.end(), c) == clients_.end()) clients_.push_back(c);
}

void TAction::RemoveClient(TActionClient* c) { clients_.erase(std::remove(clients_.begin(), clients_.end(), c), clients_.end()); }

void TAction::TellClients(bool freed) {
  std::vector<TActionClient*> clients = clients_;  // a client may leave while it hears
  if (freed) clients_.clear();
  for (TActionClient* c : clients) c->ActionChanged(this, freed);
}

void TAction::SetActionList(TActionList* l) {
  if (l == list_) return;
  if (list_) {
    auto& v = list_->actions_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  list_ = l;
  if (l) l->actions_.push_back(this);
}

void TAction::SetParentComponent(TComponent* parent) {
  if (auto* l = dynamic_cast<TActionList*>(parent)) SetActionList(l);
}

bool TAction::Execute() {
  if (!enabled_ || !OnExecute) return false;
  OnExecute(this);
  return true;
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) { RegisterActions(); }

TActionList::~TActionList() {
  for (TAction* a : actions_) a->list_ = nullptr;
}

bool TActionList::IsShortCut(TShortCut s) {
  for (TAction* a : actions_)
    if (a->ShortCut() == s && a->Execute()) return true;
  return false;
}

void BindAction(TControl* control, TAction* action) {
  if (!control) return;
  if (!action) {
    control->OnClick = nullptr;
    return;
  }
  if (!action->Caption().empty()) control->SetCaption(action->Caption());
  control->OnClick = TNotifyEvent([action](TObject*) { action->Execute(); }, action);
}

void RegisterActions() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlProperties();
  RegisterStdCtrls();
  RegisterProperties(TAction::StaticClass(), {
      StringProperty("Caption", &TAction::Caption, &TAction::SetCaption),
      OrdProperty("ShortCut", &TAction::ShortCut, &TAction::SetShortCut),
      BoolProperty("Enabled", &TAction::Enabled, &TAction::SetEnabled),
      EventProp("OnExecute", &TAction::OnExecute),
  });
  // Buttons run an action through their Action property.
  RegisterProperties(TButton::StaticClass(), {
      // Set by descriptions only; the button keeps no reference to read back.
      MakeProp<TButton>("Action", TPropType::Object, [](const TButton*) -> TObject* { return nullptr; },
                        [](TButton* b, const TPropValue& v) {
                          BindAction(b, dynamic_cast<TAction*>(std::get<TObject*>(v)));
                        }),
  });
  RegisterComponentClass<TAction>();
  RegisterComponentClass<TActionList>();
}
