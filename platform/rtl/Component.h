// The component model: a component has an owner that frees it, a Name, a Tag, and the list
// of components it owns. Components are made with New<T>(owner, ...); a component without
// an owner is held by a std::unique_ptr.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Object.h"

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
  KARV_CLASS(TComponent, TObject)
 public:
  explicit TComponent(TComponent* owner);
  // Frees the owned components, last first, and leaves the owner's list.
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  int ComponentCount() const { return (int)components_.size(); }
  TComponent* Components(int index) const { return components_.at(index); }
  // The owned component with that name (without regard to case), or nullptr.
  TComponent* FindComponent(const std::string& name) const;

  // Called once the form description that made this component has been read.
  virtual void Loaded() {}
  // True from the moment a form description makes this component until its Loaded: its
  // properties are still being read, so work that Loaded does anyway may wait for it.
  bool Loading() const { return loading_; }
  void SetLoading(bool loading) { loading_ = loading; }
  // Runs while the whole object is still alive, just before it is deleted (forms fire
  // OnDestroy here). Free() calls it; owners free their components through Free().
  virtual void BeforeDestruction() {}
  static void Free(TComponent* c);
  // Tells the owner's components that `component` arrives or goes away.
  virtual void Notification(TComponent* component, TOperation op) {}
  // A form description nested this non-visual component inside `parent` (menu items).
  virtual void SetParentComponent(TComponent* parent) {}
  bool Destroying() const { return destroying_; }

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  TComponent* owner_ = nullptr;
  std::string name_;
  intptr_t tag_ = 0;
  std::vector<TComponent*> components_;
  bool destroying_ = false;
  bool loading_ = false;
};

struct TComponentDeleter {
  void operator()(TComponent* c) const { TComponent::Free(c); }
};
// A component without an owner, freed through Free().
template <class T>
using TOwned = std::unique_ptr<T, TComponentDeleter>;

// Makes a component owned by `owner` (freed with it); with a null owner the caller must
// take it into a unique_ptr.
template <class T, class... A>
T* New(TComponent* owner, A&&... args) {
  return new T(owner, std::forward<A>(args)...);
}
