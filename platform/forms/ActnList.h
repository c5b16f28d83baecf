// Actions: a command with a caption and a shortcut that buttons run through their Action
// property. A form that sees a key first asks its action lists whether it is a shortcut.
// An action belongs to its owner; the list and the buttons only point at it. GUI thread only.
#pragma once
#include <windows.h>

#include <string>

#include "platform/forms/Controls.h"

// A key with its shift state packed as one number: the key code plus scShift, scCtrl, scAlt.
using TShortCut = unsigned;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
constexpr TShortCut ShortCut(WORD key, TShiftState shift) {
  return key | ((shift & ssShift) ? scShift : 0) | ((shift & ssCtrl) ? scCtrl : 0) | ((shift & ssAlt) ? scAlt : 0);
}

class TActionList;
class TAction;

// Something that shows an action (a menu item) and hears when it changes or goes.
class TActionClient {
 public:
  virtual void ActionChanged(TAction* action, bool freed) = 0;

 protected:
  ~TActionClient() = default;
};

class TAction : public TComponent {
  KARV_CLASS(TAction, TComponent)
 public:
  explicit TAction(TComponent* owner);
  ~TAction() override;
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut s) { shortCut_ = s; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TActionList* ActionList() const { return list_; }
  void AddClient(TActionClient* c);
  void RemoveClient(TActionClient* c);
  void SetActionList(TActionList* l);
  // Runs OnExecute when enabled; true when it ran.
  bool Execute();
  TNotifyEvent OnExecute;

  void SetParentComponent(TComponent* parent) override;

 private:
  std::string caption_;
  TShortCut shortCut_ = 0;
  bool enabled_ = true;
  TActionList* list_ = nullptr;
  std::vector<TActionClient*> clients_;
  void TellClients(bool freed);
  friend class TActionList;
};

class TActionList : public TComponent {
  KARV_CLASS(TActionList, TComponent)
 public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;
  int ActionCount() const { return (int)actions_.size(); }
  TAction* Actions(int i) const { return actions_.at(i); }
  // Runs the enabled action with this shortcut; true when one ran.
  bool IsShortCut(TShortCut s);

 private:
  friend class TAction;
  std::vector<TAction*> actions_;
};

// Gives a button the action's caption and makes its click run the action.
void BindAction(TControl* control, TAction* action);

void RegisterActions();
