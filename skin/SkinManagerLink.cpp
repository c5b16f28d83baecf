// The process-wide manager pointer and its factory.
#include "skin/SkinManagerLink.h"

#include <memory>

namespace {
std::unique_ptr<ISkinManagerLink>& Manager() {
  static std::unique_ptr<ISkinManagerLink> manager;
  return manager;
}
ISkinManagerLink* (*g_factory)() = nullptr;
}  // namespace

// The skin manager's unit (SkinManager.cpp) makes the real manager.
ISkinManagerLink* MakeDefaultSkinManager();

ISkinManagerLink* SkinManagerLink() { return Manager().get(); }

ISkinManagerLink* EnsureSkinManager() {
  if (!Manager()) Manager().reset(g_factory ? g_factory() : MakeDefaultSkinManager());
  return Manager().get();
}

void SetSkinManagerFactory(ISkinManagerLink* (*factory)()) { g_factory = factory; }

void ReleaseSkinManager() { Manager().reset(); }
