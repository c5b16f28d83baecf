// Events are method pointers: an object and one of its member functions. Assigning replaces
// the previous handler; a window that hooked a shared object's event takes it back with
// ClearIfOwner(this) when it goes away.
// A handler may reassign or clear the very event that is running it, or free the object
// that holds the event: a call keeps its own reference to the callable until it returns.
#pragma once
#include <functional>
#include <memory>
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
      : owner_(object),
        fn_(std::make_shared<const Fn>([object, method](A... a) -> R { return (object->*method)(std::forward<A>(a)...); })) {}
  // A free function or lambda, optionally tagged with the object it belongs to.
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, A...>>>
  TEvent(F f, const void* owner = nullptr) : owner_(owner), fn_(MakeFn(std::move(f))) {}

  explicit operator bool() const { return static_cast<bool>(fn_); }
  R operator()(A... a) const {
    std::shared_ptr<const Fn> running = fn_;
    return (*running)(std::forward<A>(a)...);
  }
  const void* Owner() const { return owner_; }
  void Clear() { owner_ = nullptr; fn_ = nullptr; }
  // Drops the handler only when it belongs to `owner`.
  void ClearIfOwner(const void* owner) {
    if (fn_ && owner_ == owner) Clear();
  }

 private:
  using Fn = std::function<R(A...)>;
  template <class F>
  static std::shared_ptr<const Fn> MakeFn(F f) {
    Fn fn(std::move(f));
    return fn ? std::make_shared<const Fn>(std::move(fn)) : nullptr;
  }

  const void* owner_ = nullptr;
  std::shared_ptr<const Fn> fn_;
};

using TNotifyEvent = TEvent<void(TObject*)>;
