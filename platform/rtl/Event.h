// Events are method pointers: an object and one of its member functions. Assigning replaces
// the previous handler; a window that hooked a shared object's event takes it back with
// ClearIfOwner(this) when it goes away.
#pragma once
#include <functional>
#include <utility>

class TObject;

template <class Sig> class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
 public:
  TEvent() = default;
  TEvent(std::nullptr_t) {}
  template <class T, class M>
  TEvent(T* object, M method)
      : owner_(object), fn_([object, method](A... a) -> R { return (object->*method)(std::forward<A>(a)...); }) {}
  // A free function or lambda, optionally tagged with the object it belongs to.
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, A...>>>
  TEvent(F f, const void* owner = nullptr) : owner_(owner), fn_(std::move(f)) {}

  explicit operator bool() const { return static_cast<bool>(fn_); }
  R operator()(A... a) const { return fn_(std::forward<A>(a)...); }
  const void* Owner() const { return owner_; }
  void Clear() { owner_ = nullptr; fn_ = nullptr; }
  // Drops the handler only when it belongs to `owner`.
  void ClearIfOwner(const void* owner) {
    if (fn_ && owner_ == owner) Clear();
  }

 private:
  const void* owner_ = nullptr;
  std::function<R(A...)> fn_;
};

using TNotifyEvent = TEvent<void(TObject*)>;
