// The count of active anti-freeze components, read by the HTTP client's wait.
#include "platform/web/AntiFreeze.h"

#include <atomic>

namespace {
std::atomic<int> g_active{0};
}

TAntiFreeze::TAntiFreeze(TComponent* owner) : TComponent(owner) { SetActive(true); }

TAntiFreeze::~TAntiFreeze() { SetActive(false); }

void TAntiFreeze::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  g_active += active ? 1 : -1;
}

bool TAntiFreeze::AnyActive() { return g_active > 0; }
