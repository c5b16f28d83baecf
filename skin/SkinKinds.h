// The skin object classes by name: control discovery makes every skin object through this
// one table, so a skin object class takes part by adding its entry in SkinKinds.cpp. A name
// without an entry makes nothing, and its control keeps its own look.
#pragma once
#include <string_view>

class TComponent;
class TSkinControl;

using TSkinObjectFactory = TSkinControl* (*)(TComponent* owner);

template <class T>
TSkinControl* MakeSkinObject(TComponent* owner) {
  return new T(owner);
}

// The factory of a skin object class ("TSkinButton", "TSkinComBox", ...), or null.
TSkinObjectFactory FindSkinObjectClass(std::string_view className);
// A new skin object of that class owned by `owner`, or null when the class has no entry.
TSkinControl* CreateSkinObject(std::string_view className, TComponent* owner);
// Puts a factory in place of a class's entry (null takes the entry away) and returns the
// one it replaced; tests watch discovery's choices this way.
TSkinObjectFactory ReplaceSkinObjectClass(std::string_view className, TSkinObjectFactory make);
