#include "platform/forms/Properties.h"

#include <map>

#include "platform/rtl/Component.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

namespace {
std::map<const TClassInfo*, std::vector<TPropInfo>>& Registry() {
  static std::map<const TClassInfo*, std::vector<TPropInfo>> r;
  return r;
}

const TPropInfo& Require(const TObject* obj, std::string_view name) {
  const TPropInfo* p = FindProperty(obj, name);
  if (!p) throw Exception("Property " + std::string(name) + " does not exist in " + obj->ClassName());
  return *p;
}
}  // namespace

void RegisterProperties(const TClassInfo* cls, std::vector<TPropInfo> props) {
  auto& list = Registry()[cls];
  for (auto& p : props) {
    bool replaced = false;
    for (auto& q : list)
      if (sys::SameText(q.Name, p.Name)) {
        q = p;
        replaced = true;
      }
    if (!replaced) list.push_back(std::move(p));
  }
}

const TPropInfo* FindProperty(const TObject* obj, std::string_view name) {
  auto& r = Registry();
  for (const TClassInfo* c = obj->ClassType(); c; c = c->Parent) {
    auto it = r.find(c);
    if (it == r.end()) continue;
    for (const auto& p : it->second)
      if (sys::SameText(p.Name, name)) return &p;
  }
  return nullptr;
}

std::vector<const TPropInfo*> PropertyList(const TObject* obj) {
  std::vector<const TPropInfo*> out;
  auto& r = Registry();
  for (const TClassInfo* c = obj->ClassType(); c; c = c->Parent) {
    auto it = r.find(c);
    if (it == r.end()) continue;
    for (const auto& p : it->second) {
      bool shadowed = false;
      for (auto* q : out) shadowed |= sys::SameText(q->Name, p.Name);
      if (!shadowed) out.push_back(&p);
    }
  }
  return out;
}

bool HasProperty(const TObject* obj, std::string_view name) { return FindProperty(obj, name) != nullptr; }

int64_t GetOrdProp(const TObject* obj, std::string_view name) {
  const TPropInfo& p = Require(obj, name);
  TPropValue v = p.Get(obj);
  if (auto* i = std::get_if<int64_t>(&v)) return *i;
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto* s = std::get_if<std::string>(&v)) {  // an enumeration: its position
    for (size_t k = 0; k < p.Names.size(); ++k)
      if (sys::SameText(p.Names[k], *s)) return (int64_t)k;
  }
  throw Exception("Property " + std::string(name) + " is not ordinal");
}

std::string GetStrProp(const TObject* obj, std::string_view name) {
  TPropValue v = Require(obj, name).Get(obj);
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  if (auto* i = std::get_if<int64_t>(&v)) return sys::IntToStr(*i);
  return {};
}

std::string GetEnumProp(const TObject* obj, std::string_view name) {
  TPropValue v = Require(obj, name).Get(obj);
  if (auto* s = std::get_if<std::string>(&v)) return sys::LowerCase(*s);
  if (auto* b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  return {};
}

std::vector<std::string> GetSetProp(const TObject* obj, std::string_view name) {
  TPropValue v = Require(obj, name).Get(obj);
  std::vector<std::string> out;
  if (auto* s = std::get_if<std::vector<std::string>>(&v))
    for (auto& e : *s) out.push_back(sys::LowerCase(e));
  return out;
}

TObject* GetObjectProp(const TObject* obj, std::string_view name) {
  TPropValue v = Require(obj, name).Get(obj);
  if (auto* o = std::get_if<TObject*>(&v)) return *o;
  return nullptr;
}

void SetPropValue(TObject* obj, std::string_view name, const TPropValue& v) {
  const TPropInfo& p = Require(obj, name);
  if (!p.Set) throw Exception("Property " + std::string(name) + " is read-only");
  // Values are brought to the property's own kind, so text from a description fits.
  switch (p.Type) {
    case TPropType::Integer:
      if (auto* s = std::get_if<std::string>(&v)) return p.Set(obj, (int64_t)sys::StrToInt(*s));
      if (auto* b = std::get_if<bool>(&v)) return p.Set(obj, (int64_t)*b);
      break;
    case TPropType::Boolean:
      if (auto* s = std::get_if<std::string>(&v)) return p.Set(obj, sys::SameText(*s, "true"));
      if (auto* i = std::get_if<int64_t>(&v)) return p.Set(obj, *i != 0);
      break;
    case TPropType::Enum:
      if (auto* s = std::get_if<std::string>(&v)) {
        for (const auto& n : p.Names)
          if (sys::SameText(n, *s)) return p.Set(obj, n);
        throw Exception("Invalid value " + *s + " for property " + std::string(name));
      }
      if (auto* i = std::get_if<int64_t>(&v)) {
        if (*i >= 0 && *i < (int64_t)p.Names.size()) return p.Set(obj, p.Names[*i]);
        throw Exception("Invalid value for property " + std::string(name));
      }
      break;
    case TPropType::Set:
      if (auto* l = std::get_if<std::vector<std::string>>(&v)) {
        std::vector<std::string> norm;
        for (const auto& e : *l) {
          bool found = false;
          for (const auto& n : p.Names)
            if (sys::SameText(n, e)) { norm.push_back(n); found = true; }
          if (!found) throw Exception("Invalid value " + e + " for property " + std::string(name));
        }
        return p.Set(obj, norm);
      }
      break;
    default:
      break;
  }
  p.Set(obj, v);
}

void SetOrdProp(TObject* obj, std::string_view name, int64_t v) { SetPropValue(obj, name, v); }
void SetStrProp(TObject* obj, std::string_view name, const std::string& v) { SetPropValue(obj, name, v); }
void SetEnumProp(TObject* obj, std::string_view name, const std::string& v) { SetPropValue(obj, name, v); }

TPropInfo ComponentNameProperty() { return StringProperty("Name", &TComponent::Name, &TComponent::SetName); }
TPropInfo ComponentTagProperty() { return OrdProperty("Tag", &TComponent::Tag, &TComponent::SetTag); }

std::vector<std::string> FlagsToNames(unsigned value, const TFlagNames& flags) {
  std::vector<std::string> names;
  for (const auto& [name, bit] : flags)
    if (value & bit) names.push_back(name);
  return names;
}

unsigned NamesToFlags(const std::vector<std::string>& names, const TFlagNames& flags) {
  unsigned value = 0;
  for (const auto& n : names)
    for (const auto& [name, bit] : flags)
      if (n == name) value |= bit;
  return value;
}
