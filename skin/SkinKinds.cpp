#include "skin/SkinKinds.h"

#include <map>
#include <string>
#include <utility>

#include "skin/SkinBoxes.h"
#include "skin/SkinButtons.h"
#include "skin/SkinChecks.h"
#include "skin/SkinCommonCtrls.h"
#include "skin/SkinEdits.h"
#include "skin/SkinScrollbars.h"
#include "skin/SkinSubclass.h"
#include "skin/SkinTabs.h"

namespace {
struct TSkinClassEntry {
  std::string_view name;
  TSkinObjectFactory make;
};

// One line per skin object class: {"TSkinButton", MakeSkinObject<TSkinButton>},
const TSkinClassEntry kSkinClasses[] = {
    {"TSkinControl", nullptr},  // the base draws nothing of its own
    {"TSkinButton", MakeSkinObject<TSkinButton>},
    {"TSkinBitButton", MakeSkinObject<TSkinBitButton>},
    {"TSkinSpeedButton", MakeSkinObject<TSkinSpeedButton>},
    {"TSkinCheckBox", MakeSkinObject<TSkinCheckBox>},
    {"TSkinRadioButton", MakeSkinObject<TSkinRadioButton>},
    {"TSkinObjImage", MakeSkinObject<TSkinObjImage>},
    {"TSkinComBox", MakeSkinObject<TSkinComBox>},
    {"TSkinEdit", MakeSkinObject<TSkinEdit>},
    {"TSkinScrollbar", MakeSkinObject<TSkinScrollbar>},
    {"TSkinListView", MakeSkinObject<TSkinListView>},
    {"TSkinScrollbarH", MakeSkinObject<TSkinScrollbarH>},
    {"TSkinScControl", MakeSkinObject<TSkinScControl>},
    {"TSkinBox", MakeSkinObject<TSkinBox>},
    {"TSkinBoxH", MakeSkinObject<TSkinBoxH>},
    {"TSkinSizer", MakeSkinObject<TSkinSizer>},
    {"TSkinGroupBox", MakeSkinObject<TSkinGroupBox>},
    {"TSkinStatusBar", MakeSkinObject<TSkinStatusBar>},
    {"TSkinTab", MakeSkinObject<TSkinTab>},
    {"TSkinTab31", MakeSkinObject<TSkinTab31>},
    {"TSkinProgress", MakeSkinObject<TSkinProgress>},
    {"TSkinTrackBar", MakeSkinObject<TSkinTrackBar>},
    {"TSkinUpDown", MakeSkinObject<TSkinUpDown>},
    {"TSkinHeader", MakeSkinObject<TSkinHeader>},
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
