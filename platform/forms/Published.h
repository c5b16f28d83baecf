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
