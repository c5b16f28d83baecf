// Named skin items with unique names.
#include "skin/SkinStore.h"

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection& collection, int id)
    : collection_(collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string& name) {
  if (name == name_) return;
  if (TSkinCollectionItem* other = collection_.Find(name); other && other != this)
    throw Exception("The name " + name + " is already used.");
  name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem& other) {
  name_ = other.name_;
  data_ = other.data_;
}

TSkinCollectionItem& TSkinCollection::Add() {
  items_.push_back(std::make_unique<TSkinCollectionItem>(*this, nextId_++));
  return *items_.back();
}

void TSkinCollection::Delete(int i) {
  if (i >= 0 && i < Count()) items_.erase(items_.begin() + i);
}

void TSkinCollection::Assign(const TSkinCollection& other) {
  if (&other == this) return;
  items_.clear();
  for (const auto& item : other.items_) Add().Assign(*item);
}

TSkinCollectionItem* TSkinCollection::Find(const std::string& name) const {
  for (const auto& item : items_)
    if (item->Name() == name) return item.get();
  return nullptr;
}

TSkinStore::TSkinStore(TComponent* owner) : TComponent(owner), store_(this) { RegisterSkinStore(); }

void RegisterSkinStore() {
  static bool done = false;
  if (done) return;
  done = true;
  using I = TSkinCollectionItem;
  RegisterProperties(I::StaticClass(), {
      StringProperty<I>("Name", &I::Name, &I::SetName),
      StringProperty<I>("SkinData", &I::SkinData, &I::SetSkinData),
      MakeProp<I>("DataSize", TPropType::Integer, [](const I* i) { return (int64_t)i->DataSize(); }, nullptr),
      MakeProp<I>("DataStream", TPropType::Binary, [](const I* i) { return i->DataStream(); },
                  [](I* i, const TPropValue& v) { i->ReadDataStream(std::get<std::string>(v)); }),
  });
  using S = TSkinStore;
  TPropInfo store = MakeProp<S>("Store", TPropType::Collection, [](const S*) { return TPropValue{}; }, nullptr);
  store.AddItem = [](TObject* o) -> TObject* { return &static_cast<S*>(o)->Store().Add(); };
  RegisterProperties(S::StaticClass(), {
      StringProperty<S>("Name", &S::Name, &S::SetName),
      store,
  });
  RegisterComponentClass<TSkinStore>();
}
