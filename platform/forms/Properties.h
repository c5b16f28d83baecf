// Published properties: read and written by name, because the form-description reader sets
// them and the skin engine reads other controls only that way. Enumerations and sets are
// handled by their value names; reading gives them in lower case.
// Registrations go into one process-wide table, made on first use of each class and read
// ever after; register and read on the GUI thread only.
#pragma once
#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <variant>
#include <vector>

#include "platform/rtl/Object.h"

enum class TPropType { Integer, Boolean, Enum, Set, String, Object, Binary, Event, StringList, Collection };

// Integers, booleans, enumerations (by name), sets (names), strings, objects, binary bytes.
using TPropValue = std::variant<std::monostate, int64_t, bool, std::string, std::vector<std::string>, TObject*>;

struct TPropInfo {
  std::string Name;
  TPropType Type;
  std::function<TPropValue(const TObject*)> Get;
  std::function<void(TObject*, const TPropValue&)> Set;  // empty: read-only
  std::vector<std::string> Names;  // value names of an enumeration or set, in order
  // Events: the handler signature and how to assign a bound TEvent held in a std::any.
  std::type_index EventType = typeid(void);
  std::function<void(TObject*, const std::any&)> SetEvent;
  // Collections: appends a new item to the owner's collection and answers it; a description
  // then sets the item's own published properties.
  std::function<TObject*(TObject*)> AddItem;
};

// Adds the published properties of a class; later entries for the same name replace
// earlier ones.
void RegisterProperties(const TClassInfo* cls, std::vector<TPropInfo> props);
// Searches the object's class and its ancestors, the name without regard to case.
const TPropInfo* FindProperty(const TObject* obj, std::string_view name);
// Every published property of the object's class chain, derived classes first.
std::vector<const TPropInfo*> PropertyList(const TObject* obj);

bool HasProperty(const TObject* obj, std::string_view name);
int64_t GetOrdProp(const TObject* obj, std::string_view name);
std::string GetStrProp(const TObject* obj, std::string_view name);
std::string GetEnumProp(const TObject* obj, std::string_view name);  // lower case
std::vector<std::string> GetSetProp(const TObject* obj, std::string_view name);  // lower case
TObject* GetObjectProp(const TObject* obj, std::string_view name);
void SetOrdProp(TObject* obj, std::string_view name, int64_t v);
void SetStrProp(TObject* obj, std::string_view name, const std::string& v);
void SetEnumProp(TObject* obj, std::string_view name, const std::string& v);
void SetPropValue(TObject* obj, std::string_view name, const TPropValue& v);

// Generic form for lambdas, used by most registrations.
template <class C, class G, class S>
TPropInfo MakeProp(const char* name, TPropType type, G get, S set, std::vector<std::string> names = {}) {
  TPropInfo p{name, type};
  p.Get = [get](const TObject* o) -> TPropValue { return get(static_cast<const C*>(o)); };
  if constexpr (!std::is_same_v<S, std::nullptr_t>)
    p.Set = [set](TObject* o, const TPropValue& v) { set(static_cast<C*>(o), v); };
  p.Names = std::move(names);
  return p;
}

// An event property holding a TEvent<...> member.
template <class C, class E>
TPropInfo EventProp(const char* name, E C::*member) {
  TPropInfo p{name, TPropType::Event};
  p.Get = [](const TObject*) -> TPropValue { return {}; };
  p.EventType = typeid(E);
  p.SetEvent = [member](TObject* o, const std::any& a) { static_cast<C*>(o)->*member = std::any_cast<E>(a); };
  return p;
}

// A property over a getter and a setter member function.
template <class C>
TPropInfo BoolProperty(const char* name, bool (C::*get)() const, void (C::*set)(bool)) {
  return MakeProp<C>(name, TPropType::Boolean, [get](const C* c) { return (c->*get)(); },
                     [set](C* c, const TPropValue& v) { (c->*set)(std::get<bool>(v)); });
}

template <class C>
TPropInfo IntProperty(const char* name, int (C::*get)() const, void (C::*set)(int)) {
  return MakeProp<C>(name, TPropType::Integer, [get](const C* c) { return (int64_t)(c->*get)(); },
                     [set](C* c, const TPropValue& v) { (c->*set)((int)std::get<int64_t>(v)); });
}

// An enumeration whose values are 0, 1, ... in the order of `names`.
template <class C, class E>
TPropInfo EnumProperty(const char* name, std::vector<std::string> names, E (C::*get)() const, void (C::*set)(E)) {
  return MakeProp<C>(name, TPropType::Enum, [names, get](const C* c) { return names[(int)(c->*get)()]; },
                     [names, set](C* c, const TPropValue& v) {
                       for (size_t i = 0; i < names.size(); ++i)
                         if (names[i] == std::get<std::string>(v)) (c->*set)((E)i);
                     },
                     names);
}

// A number over a getter and a setter of any integral width (colours, intervals, tags). The
// owner class is the members' class unless given first (for members of a base class).
template <class C = void, class V, class B>
TPropInfo OrdProperty(const char* name, V (B::*get)() const, void (B::*set)(V)) {
  using Owner = std::conditional_t<std::is_void_v<C>, B, C>;
  return MakeProp<Owner>(name, TPropType::Integer, [get](const Owner* c) { return (int64_t)(c->*get)(); },
                         [set](Owner* c, const TPropValue& v) { (c->*set)((V)std::get<int64_t>(v)); });
}

// An object held by the class (a glyph, a picture): read as the object, written by copying
// the given object when it is of type T.
template <class C, class T>
TPropInfo ObjectProperty(const char* name, T& (C::*get)(), void (C::*set)(const T&)) {
  return MakeProp<C>(name, TPropType::Object, [get](const C* c) { return (TObject*)&(const_cast<C*>(c)->*get)(); },
                     [set](C* c, const TPropValue& v) {
                       if (auto* o = std::get_if<TObject*>(&v))
                         if (auto* t = dynamic_cast<T*>(*o)) (c->*set)(*t);
                     });
}

// The component's own Name and Tag, for the classes that publish them.
TPropInfo ComponentNameProperty();
TPropInfo ComponentTagProperty();

// A set property over a word of flags; `flags` gives each value name with its bit, in order.
using TFlagNames = std::vector<std::pair<std::string, unsigned>>;
std::vector<std::string> FlagsToNames(unsigned value, const TFlagNames& flags);
unsigned NamesToFlags(const std::vector<std::string>& names, const TFlagNames& flags);
template <class C>
TPropInfo FlagsProperty(const char* name, TFlagNames flags, unsigned (C::*get)() const, void (C::*set)(unsigned)) {
  std::vector<std::string> names;
  for (const auto& f : flags) names.push_back(f.first);
  return MakeProp<C>(name, TPropType::Set, [flags, get](const C* c) { return FlagsToNames((c->*get)(), flags); },
                     [flags, set](C* c, const TPropValue& v) {
                       (c->*set)(NamesToFlags(std::get<std::vector<std::string>>(v), flags));
                     },
                     std::move(names));
}

// A list of strings (items, lines) over a getter and a setter of the whole list.
template <class C>
TPropInfo StringsProperty(const char* name, std::vector<std::string> (C::*get)() const,
                          void (C::*set)(const std::vector<std::string>&)) {
  return MakeProp<C>(name, TPropType::StringList, [get](const C* c) { return (c->*get)(); },
                     [set](C* c, const TPropValue& v) { (c->*set)(std::get<std::vector<std::string>>(v)); });
}

// A string over a getter (by value or by reference) and a setter. The owner class is the
// members' class unless given first (for members of a base class).
template <class C = void, class R, class A, class B>
TPropInfo StringProperty(const char* name, R (B::*get)() const, void (B::*set)(A)) {
  using Owner = std::conditional_t<std::is_void_v<C>, B, C>;
  return MakeProp<Owner>(name, TPropType::String, [get](const Owner* c) { return std::string((c->*get)()); },
                         [set](Owner* c, const TPropValue& v) { (c->*set)(std::get<std::string>(v)); });
}
