// The published properties of TSkinData and its class registration, so a form description
// can carry the component: its settings, its handlers and the packed skin ("SkinPack", hex).
#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinData.h"
#include "skin/SkinStore.h"

namespace {

using D = TSkinData;

const std::vector<std::string> kControlNames = {
    "skMainMenu", "skPopupMenu", "skMenuItem", "skToolbar", "skControlbar", "skCombo", "skCheckBox",
    "skRadioButton", "skProgress", "skScrollbar", "skEdit", "skButton", "skBitBtn", "skSpeedButton",
    "skPanel", "skGroupBox", "skStatusBar", "skTab", "skSystemMenu", "skReportForms"};
const std::vector<std::string> kOptionNames = {"xoMDIScrollbar", "xoMenuMerge", "xoNCPaint"};
const std::vector<std::string> kFormTypeNames = {"sfMainform", "sfOnlyThisForm", "sfDialog"};

std::vector<std::string> SetNames(uint32_t bits, const std::vector<std::string>& names) {
  std::vector<std::string> r;
  for (size_t i = 0; i < names.size(); ++i)
    if (bits & (1u << i)) r.push_back(sys::LowerCase(names[i]));
  return r;
}

uint32_t SetBits(const TPropValue& v, const std::vector<std::string>& names) {
  uint32_t bits = 0;
  if (auto* list = std::get_if<std::vector<std::string>>(&v))
    for (const auto& e : *list)
      for (size_t i = 0; i < names.size(); ++i)
        if (sys::SameText(e, names[i])) bits |= 1u << i;
  return bits;
}

std::string Str(const TPropValue& v) {
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  return {};
}

}  // namespace

void RegisterSkinData() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterSkinStore();
  RegisterProperties(D::StaticClass(), {
      BoolProperty<D>("Active", &D::Active, &D::SetActive),
      IntProperty<D>("DisableTag", &D::DisableTag, &D::SetDisableTag),
      MakeProp<D>("SkinControls", TPropType::Set, [](const D* d) { return SetNames(d->SkinControls(), kControlNames); },
                  [](D* d, const TPropValue& v) { d->SetSkinControls(SetBits(v, kControlNames)); }, kControlNames),
      MakeProp<D>("Options", TPropType::Set, [](const D* d) { return SetNames(d->Options(), kOptionNames); },
                  [](D* d, const TPropValue& v) { d->SetOptions(SetBits(v, kOptionNames)); }, kOptionNames),
      MakeProp<D>("SkinClassMap", TPropType::StringList,
                  [](const D* d) {
                    std::vector<std::string> lines;
                    for (const auto& it : d->SkinClassMap()) lines.push_back(it.text);
                    return lines;
                  },
                  [](D* d, const TPropValue& v) {
                    TStringList lines;
                    if (auto* l = std::get_if<std::vector<std::string>>(&v))
                      for (const auto& s : *l) lines.Add(s);
                    d->SetSkinClassMap(lines);
                  }),
      MakeProp<D>("SkinFile", TPropType::String, [](const D* d) { return d->SkinFile(); },
                  [](D* d, const TPropValue& v) { d->SetSkinFile(Str(v)); }),
      MakeProp<D>("SkinStore", TPropType::String, [](const D* d) { return d->SkinStore(); },
                  [](D* d, const TPropValue& v) { d->SetSkinStore(Str(v)); }),
      MakeProp<D>("SkinFormtype", TPropType::Enum,
                  [](const D* d) { return sys::LowerCase(kFormTypeNames[(size_t)d->SkinFormtype()]); },
                  [](D* d, const TPropValue& v) {
                    for (size_t i = 0; i < kFormTypeNames.size(); ++i)
                      if (sys::SameText(Str(v), kFormTypeNames[i])) d->SetSkinFormtype((TSkinFormType)i);
                  },
                  kFormTypeNames),
      MakeProp<D>("Version", TPropType::String, [](const D* d) { return d->Version(); },
                  [](D* d, const TPropValue& v) { d->SetVersion(Str(v)); }),
      BoolProperty<D>("MenuUpdate", &D::MenuUpdate, &D::SetMenuUpdate),
      BoolProperty<D>("MenuMerge", &D::MenuMerge, &D::SetMenuMerge),
      EventProp("OnFormSkin", &D::OnFormSkin),
      EventProp("OnSkinChanged", &D::OnSkinChanged),
      EventProp("OnSkinControl", &D::OnSkinControl),
      MakeProp<D>("SkinPack", TPropType::Binary, [](const D* d) { return d->WriteSkinPack(); },
                  [](D* d, const TPropValue& v) { d->ReadSkinPack(Str(v)); }),
  });
  // A component that the reader makes is loading until its Loaded runs.
  RegisterComponentClass(D::StaticClass()->Name, [](TComponent* owner) -> TComponent* {
    D* d = new D(owner);
    d->SetLoading(true);
    return d;
  });
}
