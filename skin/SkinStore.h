// TSkinStore: a component that keeps several packed skins by name in a form description.
// The store owns its items and their bytes. GUI thread only.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Component.h"

class TSkinCollection;

class TSkinCollectionItem : public TObject {
  KARV_CLASS(TSkinCollectionItem, TObject)
 public:
  TSkinCollectionItem(TSkinCollection& collection, int id);

  int ID() const { return id_; }
  const std::string& Name() const { return name_; }
  // Throws Exception("The name X is already used.") when another item has that name.
  void SetName(const std::string& name);
  std::string DisplayName() const { return name_; }
  std::string SkinData() const { return "Load Skin"; }
  void SetSkinData(const std::string&) {}
  int DataSize() const { return (int)data_.size(); }
  // The binary property "DataStream": the packed skin bytes, read and written whole.
  const std::string& DataStream() const { return data_; }
  void ReadDataStream(std::string_view bytes) { data_.assign(bytes); }
  // Takes another item's name and data.
  void Assign(const TSkinCollectionItem& other);

 private:
  TSkinCollection& collection_;
  int id_;
  std::string name_;
  std::string data_;
};

class TSkinCollection {
 public:
  explicit TSkinCollection(TComponent* owner) : owner_(owner) {}
  TComponent* Owner() const { return owner_; }
  int Count() const { return (int)items_.size(); }
  TSkinCollectionItem& Items(int i) const { return *items_.at(i); }
  // A new item named "SkinItem" + its identifier.
  TSkinCollectionItem& Add();
  void Delete(int i);
  void Clear() { items_.clear(); }
  // Copies the other collection's items.
  void Assign(const TSkinCollection& other);
  TSkinCollectionItem* Find(const std::string& name) const;

 private:
  TComponent* owner_;
  int nextId_ = 0;
  std::vector<std::unique_ptr<TSkinCollectionItem>> items_;
};

class TSkinStore : public TComponent {
  KARV_CLASS(TSkinStore, TComponent)
 public:
  explicit TSkinStore(TComponent* owner);
  TSkinCollection& Store() { return store_; }
  void SetStore(const TSkinCollection* other) {
    if (other) store_.Assign(*other);
  }

 private:
  TSkinCollection store_;
};

// Publishes the store ("Store", a collection whose items carry "Name" and the binary
// "DataStream") and registers it with the form-description reader. Idempotent.
void RegisterSkinStore();
