// Root of the class hierarchy: every object can tell its class name and whether it is of a
// named class or derives from it (the skin engine picks its treatment that way).
// Class information is static and read-only after first use.
#pragma once
#include <string>
#include <string_view>

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  bool InheritsFrom(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
      if (name == c->Name) return true;
    return false;
  }
};

// Inside a class body: KARV_CLASS(TButton, TWinControl) gives it its class information.
#define KARV_CLASS(Cls, Base)                                                     \
 public:                                                                          \
  static const TClassInfo* StaticClass() {                                        \
    static const TClassInfo info{#Cls, Base::StaticClass()};                      \
    return &info;                                                                 \
  }                                                                               \
  const TClassInfo* ClassType() const override { return StaticClass(); }          \
                                                                                  \
 private:

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo* StaticClass() {
    static const TClassInfo info{"TObject", nullptr};
    return &info;
  }
  virtual const TClassInfo* ClassType() const { return StaticClass(); }
  std::string ClassName() const { return ClassType()->Name; }
  // True when this object's class is `name` or derives from it.
  bool InheritsFrom(std::string_view name) const { return ClassType()->InheritsFrom(name); }
};
