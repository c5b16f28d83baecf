// The published table of a form or data module class: its control fields and event
// handlers by name, which the description reader wires when it builds the components.
// Entries hold member pointers only; no object is owned. GUI thread only.
#pragma once
#include <any>
#include <functional>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

// One entry of a form class's published table: a control field or an event handler that
// the description reader wires by name.
struct TPublishedEntry {
  std::string Name;
  bool IsHandler = false;
  // Fields: stores the component; false when its class does not fit the field.
  std::function<bool(TObject* form, TComponent* c)> Assign;
  // Handlers: the TEvent type and a maker that binds the method to the form.
  std::type_index EventType = typeid(void);
  std::function<std::any(TObject* form)> Make;
};
using TPublishedTable = std::vector<TPublishedEntry>;

template <class F, class T>
TPublishedEntry PublishedField(const char* name, T* F::*field) {
  TPublishedEntry e{name, false};
  e.Assign = [field](TObject* form, TComponent* c) {
    auto* typed = dynamic_cast<T*>(c);
    if (!typed) return false;
    static_cast<F*>(form)->*field = typed;
    return true;
  };
  return e;
}

template <class F, class R, class... A>
TPublishedEntry PublishedHandler(const char* name, R (F::*method)(A...)) {
  TPublishedEntry e{name, true};
  e.EventType = typeid(TEvent<R(A...)>);
  e.Make = [method](TObject* form) -> std::any { return TEvent<R(A...)>(static_cast<F*>(form), method); };
  return e;
}

// Inside a form class: the table of its published fields and handlers.
#define KARV_FIELD(Form, name) PublishedField(#name, &Form::name)
#define KARV_HANDLER(Form, name) PublishedHandler(#name, &Form::name)

// A run of fields or handlers of one form, in place of one KARV_FIELD or KARV_HANDLER each:
// KARV_FIELDS(F, a, b) is KARV_FIELD(F, a), KARV_FIELD(F, b). Up to eight names a call (a
// ninth does not compile); a longer list takes several calls. KARV_EACH_PICK counts the
// names by where the list of steps lands; each step takes one name and hands the rest on.
#define KARV_FIELDS(Form, ...) KARV_EACH(KARV_FIELD, Form, __VA_ARGS__)
#define KARV_HANDLERS(Form, ...) KARV_EACH(KARV_HANDLER, Form, __VA_ARGS__)
#define KARV_EACH(M, Form, ...)                                                                                    \
  KARV_EACH_PICK(__VA_ARGS__, KARV_EACH8, KARV_EACH7, KARV_EACH6, KARV_EACH5, KARV_EACH4, KARV_EACH3, KARV_EACH2, \
                 KARV_EACH1, )                                                                                     \
  (M, Form, __VA_ARGS__)
#define KARV_EACH_PICK(_1, _2, _3, _4, _5, _6, _7, _8, step, ...) step
#define KARV_EACH1(M, Form, a) M(Form, a)
#define KARV_EACH2(M, Form, a, ...) M(Form, a), KARV_EACH1(M, Form, __VA_ARGS__)
#define KARV_EACH3(M, Form, a, ...) M(Form, a), KARV_EACH2(M, Form, __VA_ARGS__)
#define KARV_EACH4(M, Form, a, ...) M(Form, a), KARV_EACH3(M, Form, __VA_ARGS__)
#define KARV_EACH5(M, Form, a, ...) M(Form, a), KARV_EACH4(M, Form, __VA_ARGS__)
#define KARV_EACH6(M, Form, a, ...) M(Form, a), KARV_EACH5(M, Form, __VA_ARGS__)
#define KARV_EACH7(M, Form, a, ...) M(Form, a), KARV_EACH6(M, Form, __VA_ARGS__)
#define KARV_EACH8(M, Form, a, ...) M(Form, a), KARV_EACH7(M, Form, __VA_ARGS__)
