#include "skin/SkinManager.h"

#include <algorithm>

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinPopupMenu.h"
#include "skin/SkinSubclass.h"

namespace {
constexpr int kActionSkinAll = 1, kActionRemove = 2, kActionRefresh = 3, kActionPurge = 6;

std::string ClassOf(HWND h) {
  char name[256] = "";
  GetClassNameA(h, name, sizeof name);
  return name;
}

TCustomForm* ScreenFormOf(HWND h) {
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (Screen().Forms(i)->HandleIfAllocated() == h) return Screen().Forms(i);
  return nullptr;
}
}  // namespace

TSkinManage* SkinManager() { return dynamic_cast<TSkinManage*>(SkinManagerLink()); }

TSkinForm* FindFormSkinner(HWND h) {
  TSkinManage* m = SkinManager();
  return m ? m->FindFormSkinner(h) : nullptr;
}

ISkinManagerLink* MakeDefaultSkinManager() { return new TSkinManage(); }

TSkinManage::TSkinManage() : timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetEnabled(false);
  timer_->SetInterval(250);
  timer_->OnTimer = TNotifyEvent(this, &TSkinManage::OnTimer);
}

TSkinManage::~TSkinManage() {
  firstActivation_ = 4;
  timer_.reset();
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  popups_.clear();
  // Skinners of plain windows are ours; a form frees its own.
  std::vector<TSkinForm*> skinners;
  skinners.swap(formSkinners_);
  for (TSkinForm* s : skinners)
    if (!s->Owner()) TComponent::Free(s);
}

void TSkinManage::RegisterData(TSkinData* data) {
  if (std::find(dataList_.begin(), dataList_.end(), data) != dataList_.end()) return;
  dataList_.push_back(data);
  if (!mainData_ && data->SkinFormtype() == TSkinFormType::sfMainform) mainData_ = data;
}

void TSkinManage::UnregisterData(TSkinData* data) {
  dataList_.erase(std::remove(dataList_.begin(), dataList_.end(), data), dataList_.end());
  if (requesting_ == data) requesting_ = nullptr;
  if (mainData_ == data) {
    mainData_ = nullptr;
    for (TSkinData* d : dataList_)
      if (d->SkinFormtype() == TSkinFormType::sfMainform) {
        mainData_ = d;
        break;
      }
  }
  // Windows drawn from this data lose their skin with it.
  for (size_t i = formSkinners_.size(); i-- > 0;)
    if (i < formSkinners_.size() && formSkinners_[i]->SkinData() == data) Drop(formSkinners_[i], true);
  for (size_t i = popups_.size(); i-- > 0;)
    if (popups_[i]->SkinData() == data) popups_.erase(popups_.begin() + i);
  if (popups_.empty()) menuKind_ = kMenuPopup, newMenuMark_ = false;
}

void TSkinManage::InstallHook() {
  if (hook_) return;
  hook_ = SetWindowsHookExA(WH_CBT, &TSkinManage::CbtProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::CbtProc(int code, WPARAM wp, LPARAM lp) {
  TSkinManage* m = SkinManager();
  HHOOK hook = m ? m->hook_ : nullptr;
  try {
    if (m && code >= 0 && m->active_) {
      HWND h = (HWND)wp;
      switch (code) {
        case HCBT_CREATEWND: {
          auto* cw = reinterpret_cast<CBT_CREATEWNDA*>(lp);
          // The class may come as an atom ("#32768"): ask the window.
          std::string cls = ClassOf(h);
          LONG style = cw->lpcs->style;
          if (sys::SameText(cls, "ScrollBar") && (style & SBS_SIZEGRIP)) {
            if (TSkinForm* f = m->FindFormSkinner(cw->lpcs->hwndParent)) f->SkinChildWindow(h);
          } else if (!(style & WS_CHILD) && cls == "#32768") {
            m->SkinPopupMenu(h);
          }
          break;
        }
        case HCBT_DESTROYWND:
          m->RemovePopup(h);
          break;
        case HCBT_ACTIVATE:
          if (m->firstActivation_ == 0) m->firstActivation_ = 1;
          m->SkinWindow(h);
          break;
        default:
          break;
      }
    } else if (m && code == HCBT_ACTIVATE && m->firstActivation_ == 0) {
      m->firstActivation_ = 1;
    }
  } catch (...) {
    ReportCallbackException("TSkinManage.CbtProc");
  }
  return CallNextHookEx(hook, code, wp, lp);
}

bool TSkinManage::SkinWindow(HWND h) {
  if (!active_ || !h || !IsWindow(h)) return false;
  Purge();
  if (SendMessageA(h, SKIN_QUERY, 0, 0) == 1 || FindFormSkinner(h)) return false;
  TCustomForm* form = ScreenFormOf(h);
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  if (!scanning_ && (style & WS_CHILD) && sys::LowerCase(ClassOf(GetParent(h))) != "mdiclient") return false;
  // A window without area is tried again at its next activation.
  RECT r{};
  if (!GetWindowRect(h, &r) || r.right <= r.left || r.bottom <= r.top) return false;
  if (form && form->Tag() == 99) return false;
  std::string cls = ClassOf(h);
  if (cls == "TApplication" || cls == "TReportStandardPreview") return false;
  if (mainData_) {
    bool doSkin = true;
    mainData_->FormSkinQuery(cls, doSkin);
    if (!doSkin) return false;
  }
  TSkinData* data = ChooseSkinData(h);
  if (!data || data->NoSkin()) return false;
  timing::Span span("skin attached to " + cls);
  TSkinForm* skinner = form ? New<TSkinForm>(form) : new TSkinForm(nullptr);
  skinner->SetWindow(h);
  if (form) skinner->InstallOnForm(data, form);
  else skinner->Install(data);
  formSkinners_.push_back(skinner);
  PostMessageA(h, SKIN_FINISH, 0, 1000);
  return true;
}

void TSkinManage::SkinForm(TComponent* component) {
  auto* form = dynamic_cast<TCustomForm*>(component);
  if (!form || !form->HandleAllocated() || !IsWindowVisible(form->HandleIfAllocated())) return;
  HWND h = form->HandleIfAllocated();
  LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
  if ((GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && !(ex & WS_EX_MDICHILD)) return;
  SkinWindow(h);
}

TSkinData* TSkinManage::ChooseSkinData(HWND h) const {
  TSkinData* found = nullptr;
  for (TSkinData* d : dataList_) {
    auto* owner = dynamic_cast<TCustomForm*>(d->Owner());
    if (d->SkinFormtype() == TSkinFormType::sfOnlyThisForm && owner && owner->HandleIfAllocated() == h) found = d;
  }
  if (found) return found;
  std::string cls = sys::LowerCase(ClassOf(h));
  if (cls == "tmessageform" || cls == "#32770")
    for (TSkinData* d : dataList_)
      if (d->SkinFormtype() == TSkinFormType::sfDialog) found = d;
  if (found) return found;
  for (TSkinData* d : dataList_)
    if (d->SkinFormtype() == TSkinFormType::sfMainform) found = d;
  if (found) return found;
  return dataList_.empty() ? nullptr : dataList_.front();
}

void TSkinManage::SkinPopupMenu(HWND h) {
  if (!active_ || IsPopupSkinned(h) || SendMessageA(h, SKIN_QUERY, 0, 0) == 1) return;
  TSkinData* data = ChooseSkinData(h);
  if (!data || data->NoSkin()) return;
  switch (menuKind_) {
    case kMenuPopup:
      if (!data->Has(skPopupMenu)) return;
      break;
    case kMenuBar:
      if (!data->Has(skMainMenu) && !data->Has(skMenuItem)) return;
      break;
    case kMenuSystem:
      if (!data->Has(skSystemMenu)) return;
      break;
    default:
      break;
  }
  auto popup = std::make_unique<TSkinPopupMenu>();
  popup->Attach(h, data, 0);
  if (newMenuMark_) popup->Mark = true;
  popups_.push_back(std::move(popup));
}

bool TSkinManage::RemovePopup(HWND h) {
  for (size_t i = 0; i < popups_.size(); ++i)
    if (popups_[i]->Window() == h) {
      popups_[i]->Detach();
      popups_.erase(popups_.begin() + i);
      if (popups_.empty()) menuKind_ = kMenuPopup, newMenuMark_ = false;
      return true;
    }
  return false;
}

bool TSkinManage::IsPopupSkinned(HWND h) const {
  for (auto& p : popups_)
    if (p->Window() == h) return true;
  return false;
}

TSkinForm* TSkinManage::FindFormSkinner(HWND h) const {
  for (TSkinForm* s : formSkinners_)
    if (s->Window() == h) return s;
  return nullptr;
}

void TSkinManage::ForgetFormSkinner(TSkinForm* skinner) {
  // A frame that goes takes its children's maximised state with it.
  if (skinner->FormKind() == 1 && skinner->MDIClientHandle() == mdiClient_)
    mdiClient_ = nullptr, mdiFrame_ = nullptr, maximisedChild_ = false;
  formSkinners_.erase(std::remove(formSkinners_.begin(), formSkinners_.end(), skinner), formSkinners_.end());
}

void TSkinManage::Drop(TSkinForm* skinner, bool uninstall) {
  ForgetFormSkinner(skinner);
  if (uninstall) {
    skinner->Uninstall();
    skinner->Repaint();
  }
  TComponent::Free(skinner);
}

void TSkinManage::Purge() {
  for (size_t i = formSkinners_.size(); i-- > 0;)
    if (i < formSkinners_.size() && formSkinners_[i]->SkinState() == kFormDestroyed) Drop(formSkinners_[i], false);
}

void TSkinManage::SetMaximisedChild(bool v) {
  if (v == maximisedChild_) return;
  maximisedChild_ = v;
  std::vector<TSkinForm*> skinners = formSkinners_;
  for (TSkinForm* s : skinners)
    if (s->FormKind() == 2) s->MaximisedChildChanged(v);
}

void TSkinManage::MarkPopups() {
  for (auto& p : popups_) p->Mark = true;
}

TBitmap* TSkinManage::PopupImageByTag(int tag) const {
  for (auto& p : popups_)
    if (p->Tag() == tag && !p->Image().Empty()) return &p->Image();
  return nullptr;
}

void TSkinManage::RefreshData() {
  for (TSkinForm* s : formSkinners_)
    if (s->SkinData() == requesting_) s->DropCaptionButtons();
}

void TSkinManage::SkinReplaced(TSkinData* data) {
  std::vector<TSkinForm*> skinners = formSkinners_;
  for (TSkinForm* s : skinners) {
    if (s->SkinData() != data) continue;
    s->RebuildFromSkin();
    if (s->SkinState() == kFormRunning) s->Refresh();
  }
}

void TSkinManage::Schedule(int action, int intervalMs) {
  pendingAction_ = action;
  if (firstActivation_ != 0) {
    timer_->SetInterval(intervalMs);
    timer_->SetEnabled(true);
  } else if (action == kActionSkinAll) {
    active_ = true;
  } else if (action == kActionRemove) {
    active_ = false;
  }
}

void TSkinManage::OnTimer(TObject*) { RunPendingAction(); }

void TSkinManage::RunPendingAction() {
  TSkinData* data = requesting_;
  if (!data) return;
  timer_->SetEnabled(false);
  bool onlyThis = data->SkinFormtype() == TSkinFormType::sfOnlyThisForm;
  switch (pendingAction_) {
    case kActionSkinAll:
      active_ = true;
      scanning_ = true;
      if (!onlyThis) Purge();
      if (onlyThis) {
        SkinForm(data->Owner());
      } else {
        std::vector<TCustomForm*> forms;
        for (int i = 0; i < Screen().FormCount(); ++i) forms.push_back(Screen().Forms(i));
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) SkinForm(*it);
      }
      scanning_ = false;
      break;
    case kActionRemove:
      active_ = false;
      Purge();
      for (size_t i = formSkinners_.size(); i-- > 0;) {
        if (i >= formSkinners_.size()) continue;
        if (onlyThis && formSkinners_[i]->SkinData() != data) continue;
        Drop(formSkinners_[i], true);
        if (onlyThis) break;
      }
      break;
    case kActionRefresh: {
      Purge();
      std::vector<TSkinForm*> skinners = formSkinners_;
      for (TSkinForm* s : skinners) {
        if (s->SkinData() != data) continue;
        s->RebuildFromSkin();
        s->Refresh();
        if (onlyThis) break;
      }
      break;
    }
    case kActionPurge:
      Purge();
      break;
    default:
      break;
  }
  data->FireSkinChanged();
  requesting_ = nullptr;
}
