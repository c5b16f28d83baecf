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

ISkinManagerLink* SkinManagerLink() { return Manager().get(); }

ISkinManagerLink* EnsureSkinManager() {
  if (!Manager() && g_factory) Manager().reset(g_factory());
  return Manager().get();
}

void SetSkinManagerFactory(ISkinManagerLink* (*factory)()) { g_factory = factory; }

void ReleaseSkinManager() { Manager().reset(); }
