#include "skin/SkinKinds.h"

#include <map>
#include <string>
#include <utility>

#include "skin/SkinSubclass.h"

namespace {
struct TSkinClassEntry {
  std::string_view name;
  TSkinObjectFactory make;
};

// One line per skin object class: {"TSkinButton", MakeSkinObject<TSkinButton>},
const TSkinClassEntry kSkinClasses[] = {
    {"TSkinControl", nullptr},  // the base draws nothing of its own
};

std::map<std::string, TSkinObjectFactory, std::less<>>& Replaced() {
  static std::map<std::string, TSkinObjectFactory, std::less<>> m;
  return m;
}
}  // namespace

TSkinObjectFactory FindSkinObjectClass(std::string_view className) {
  if (auto it = Replaced().find(className); it != Replaced().end()) return it->second;
  for (const auto& e : kSkinClasses)
    if (e.name == className) return e.make;
  return nullptr;
}

TSkinObjectFactory ReplaceSkinObjectClass(std::string_view className, TSkinObjectFactory make) {
  TSkinObjectFactory old = FindSkinObjectClass(className);
  Replaced()[std::string(className)] = make;
  return old;
}

TSkinControl* CreateSkinObject(std::string_view className, TComponent* owner) {
  TSkinObjectFactory make = FindSkinObjectClass(className);
  return make ? make(owner) : nullptr;
}
