// The skin data component: settings, the "SkinPack" filer, loading and the manager actions.
#include "skin/SkinData.h"

#include <type_traits>

#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TimingMarks.h"
#include "skin/SkinManagerLink.h"

namespace {
constexpr int kActionSkinAll = 1, kActionRemove = 2, kActionRefresh = 3, kActionDelayMs = 250;

uint32_t ReadU32(std::string_view s) {
  const unsigned char* p = (const unsigned char*)s.data();
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

bool OwnerIsForm(const TComponent* owner) {
  return owner && (owner->InheritsFrom("TCustomForm") || owner->InheritsFrom("TForm"));
}
}  // namespace

TSkinData::TSkinData(TComponent* owner) : TComponent(owner) {
  classMap_.Add("TComboboxex=Combobox");
  classMap_.Add("TDBLookupCombobox=combobox");
  classMap_.Add("TControlBar=panel");
  menuGlyphs_.LoadFromResourceName(GetModuleHandleA(nullptr), "PELMORMENU");
}

TSkinData::~TSkinData() {
  if (ISkinManagerLink* m = SkinManagerLink(); m && registered_) m->UnregisterData(this);
}

void TSkinData::SetSkinFile(const std::string& fileName) {
  noSkin_ = true;
  skinFile_ = fileName;
  if (fileName.empty() || !sys::FileExists(fileName)) return;
  try {
    skinStream_ = sys::ReadFileBytes(fileName);
  } catch (const Exception&) {
    return;
  }
  if (LoadSkin() && formType_ == TSkinFormType::sfMainform) ApplySkin();
}

bool TSkinData::ReadSkinPack(std::string_view property) {
  if (property.size() < 4) return false;
  const uint32_t count = ReadU32(property);
  if (count == 0) return true;
  if (count > property.size() - 4) return false;
  skinStream_.assign(property.substr(4, count));
  return LoadSkin();
}

std::string TSkinData::WriteSkinPack() const {
  std::string s;
  const uint32_t n = (uint32_t)skinStream_.size();
  for (int i = 0; i < 4; ++i) s.push_back((char)(n >> (8 * i)));
  return s + skinStream_;
}

bool TSkinData::LoadSkin() {
  noSkin_ = true;
  timing::Span span("skin read");
  // Skinned windows point into the model (their caption buttons): the skin is read into a
  // fresh one, swapped in, and the windows rebuild from it while the old one still lives.
  auto fresh = std::make_unique<TSkinModel>();
  if (!LoadSkinModel(*fresh, skinStream_)) return false;
  std::swap(model_, *fresh);
  brush_.reset(CreateSolidBrush(ColorToRGB(model_.ButtonFace)));
  noSkin_ = false;
  if (ISkinManagerLink* m = SkinManagerLink(); m && registered_) m->SkinReplaced(this);
  return true;
}

void TSkinData::Loaded() {
  loading_ = false;
  ISkinManagerLink* m = EnsureSkinManager();
  if (m && !registered_) {
    m->RegisterData(this);
    registered_ = true;
  }
  if (formType_ == TSkinFormType::sfMainform) {
    if (m) m->InstallHook();
    if (active_) {
      if (noSkin_) {
        active_ = false;
      } else if (m) {
        m->SetRequestingData(this);
        m->Schedule(kActionSkinAll, kActionDelayMs);
      }
    }
    if (Has(skMainMenu)) skinControls_ &= ~SkinSet(skMenuItem);
    else skinControls_ &= ~SkinSet(skSystemMenu);
  } else if (m) {
    m->SetActive(true);
    m->SetFirstActivationCount(m->FirstActivationCount() + 1);
    if (OwnerIsForm(Owner())) m->SkinForm(Owner());
  }
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (loading_) return;
  ISkinManagerLink* m = SkinManagerLink();
  if (!m) return;
  switch (formType_) {
    case TSkinFormType::sfMainform:
      if (!value) {
        m->SetRequestingData(this);
        m->Schedule(kActionRemove, kActionDelayMs);
      } else if (!noSkin_) {
        m->SetRequestingData(this);
        m->Schedule(kActionSkinAll, kActionDelayMs);
        if (m->FirstActivationCount() == 0) m->SetFirstActivationCount(1);
      }
      break;
    case TSkinFormType::sfOnlyThisForm:
      m->SetRequestingData(this);
      if (!value) m->Schedule(kActionRemove, kActionDelayMs);
      else if (!noSkin_) m->Schedule(kActionSkinAll, kActionDelayMs);
      break;
    case TSkinFormType::sfDialog:
      break;
  }
}

void TSkinData::ApplySkin() {
  if (loading_) return;
  if (!SkinManagerLink()) Loaded();
  ISkinManagerLink* m = SkinManagerLink();
  if (!m) return;
  m->SetRequestingData(this);
  m->RefreshData();
  if (m->FirstActivationCount() == 1) m->Schedule(kActionRefresh, kActionDelayMs);
}

void TSkinData::FormSkinQuery(const std::string& windowClass, bool& doSkin) {
  doSkin = true;
  if (OnFormSkin) {
    OnFormSkin(this, windowClass, doSkin);
    return;
  }
  if (windowClass == "SysMonthCal32") doSkin = false;
  else if (Has(skReportForms) && windowClass.rfind("Trp", 0) == 0) doSkin = false;
}

void TSkinData::FireSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void SkinAnsiToWide(const std::string& text, std::wstring& wide) {
  wide.clear();
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
  if (n <= 0) return;
  wide.resize((size_t)n);
  MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), wide.data(), n);
}

void SkinWideToAnsi(const std::wstring& wide, std::string& text) {
  text.clear();
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  text.resize((size_t)n);
  WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), text.data(), n, nullptr, nullptr);
}

void SkinCopyWide(const std::wstring& wide, int count, std::wstring& out) {
  out = count < 0 ? wide : wide.substr(0, (size_t)count);
}

int SkinDrawText(HDC dc, const std::wstring& text, RECT& r, UINT format) {
  static const bool nt = (GetVersion() & 0x80000000u) == 0;
  if (nt) return DrawTextW(dc, text.c_str(), (int)text.size(), &r, format);
  std::string ansi;
  SkinWideToAnsi(text, ansi);
  return DrawTextA(dc, ansi.c_str(), (int)ansi.size(), &r, format);
}
