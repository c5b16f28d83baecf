// TSkinData: the component a window carries to be skinned. It holds the packed skin (from
// the form property "SkinPack" or a skin file), loads it into the skin model, keeps the
// settings that say which windows and controls are skinned, and drives the skin manager.
// Also the text helpers of the painters (ANSI and UTF-16 conversion, text drawing).
// GUI thread only. The component owns the skin model; the forms it skins and the skin manager
// are borrowed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtl/Component.h"
#include "platform/graphics/Bitmap.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/StringList.h"
#include "skin/SkinObjects.h"

// Kinds of controls and menus that are skinned, in bit order.
enum TSkinControlType : int {
  skMainMenu, skPopupMenu, skMenuItem, skToolbar, skControlbar, skCombo, skCheckBox, skRadioButton,
  skProgress, skScrollbar, skEdit, skButton, skBitBtn, skSpeedButton, skPanel, skGroupBox, skStatusBar,
  skTab, skSystemMenu, skReportForms
};
using TSkinControlTypes = uint32_t;  // a set: bit n for member n; streamed as 3 bytes
constexpr TSkinControlTypes SkinSet(TSkinControlType t) { return 1u << t; }
constexpr TSkinControlTypes kAllSkinControls = (1u << 20) - 1;

enum TSkinOption : int { xoMDIScrollbar, xoMenuMerge, xoNCPaint };
using TSkinOptions = uint32_t;

enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

class TSkinData;
using TOnFormSkin = TEvent<void(TObject* sender, const std::string& name, bool& doSkin)>;
using TOnSkinControl = TEvent<void(TComponent* sender, TSkinData* skinData, TComponent* form, TComponent* control,
                                   const std::string& controlClass, TComponent*& skinnedControl)>;

class TSkinData : public TComponent {
  KARV_CLASS(TSkinData, TComponent)
 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // --- published properties, in declaration order ---
  bool Active() const { return active_; }
  void SetActive(bool value);
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int v) { disableTag_ = v; }
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes v) { skinControls_ = v & kAllSkinControls; }
  bool Has(TSkinControlType t) const { return (skinControls_ & SkinSet(t)) != 0; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions v) { options_ = v; }
  const TStringList& SkinClassMap() const { return classMap_; }
  void SetSkinClassMap(const TStringList& lines) { classMap_ = lines; }
  const std::string& SkinFile() const { return skinFile_; }
  // Stores the name; when the file exists, loads it as the skin (and applies it for a main
  // form's data). A missing file leaves the component without a skin for new windows.
  void SetSkinFile(const std::string& fileName);
  std::string SkinStore() const { return "(none)"; }
  void SetSkinStore(const std::string&) {}
  TSkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(TSkinFormType t) { formType_ = t; }
  std::string Version() const { return "1.00.00.01"; }
  void SetVersion(const std::string&) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool v) { menuUpdate_ = v; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool v) { menuMerge_ = v; }
  // While off, skinned windows answer WM_NCPAINT without painting (a menu being set again).
  bool NCPaintSwitch() const { return ncPaintSwitch_; }
  void SetNCPaintSwitch(bool v) { ncPaintSwitch_ = v; }
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // --- the binary property "SkinPack": u32 byte count, then the packed skin ---
  // Takes the property's bytes (as the form description holds them, after hex decoding) and
  // loads the skin at once when the count is at least 1. False when the count claims more
  // bytes than there are (nothing is kept) or when the skin does not load.
  bool ReadSkinPack(std::string_view property);
  std::string WriteSkinPack() const;

  // Set by the form-description reader while it assigns properties; Loaded clears it.
  void SetLoading(bool loading) { loading_ = loading; }
  bool Loading() const { return loading_; }
  void Loaded() override;

  // Loads the skin stream into the model. On failure the model keeps what it held and the
  // component stays without a skin.
  bool LoadSkin();
  void ApplySkin();
  void FormSkinQuery(const std::string& windowClass, bool& doSkin);
  void FireSkinChanged();

  // --- run-time state ---
  bool NoSkin() const { return noSkin_; }
  const std::string& SkinStream() const { return skinStream_; }
  TSkinModel& Model() { return model_; }
  const TSkinModel& Model() const { return model_; }
  // A solid brush of the skin's ButtonFace colour, remade after every load.
  HBRUSH ButtonFaceBrush() const { return brush_.get(); }
  // The icon image for the icon caption button (the form skinner fills it) and its flag.
  TBitmap& SkinIcon() { return skinIcon_; }
  bool IconFlag() const { return iconFlag_; }
  void SetIconFlag(bool v) { iconFlag_ = v; }
  // The four 16 x 16 menu glyphs of the program's bitmap resource "PELMORMENU" (empty
  // without that resource); white is their mask colour.
  TBitmap& MenuGlyphs() { return menuGlyphs_; }

 private:
  struct BrushDeleter {
    void operator()(HBRUSH b) const { DeleteObject(b); }
  };

  bool active_ = false;
  int disableTag_ = 99;
  TSkinControlTypes skinControls_ = kAllSkinControls & ~(SkinSet(skMenuItem) | SkinSet(skReportForms));
  TSkinOptions options_ = 0;
  TStringList classMap_;
  std::string skinFile_;
  TSkinFormType formType_ = TSkinFormType::sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;
  bool ncPaintSwitch_ = true;

  bool loading_ = false;
  bool noSkin_ = true;
  bool registered_ = false;
  std::string skinStream_;
  TSkinModel model_;
  std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushDeleter> brush_;
  TBitmap skinIcon_;
  bool iconFlag_ = true;
  TBitmap menuGlyphs_;
};

// Publishes TSkinData's properties and registers the class with the form-description
// reader (which then makes it in the loading state). Idempotent.
void RegisterSkinData();

// Text helpers of the painters: the system's ANSI code page and UTF-16.
void SkinAnsiToWide(const std::string& text, std::wstring& wide);
void SkinWideToAnsi(const std::wstring& wide, std::string& text);
// The first `count` characters, or all of them for -1.
void SkinCopyWide(const std::wstring& wide, int count, std::wstring& out);
// DrawTextW on the NT family, otherwise the ANSI text with DrawTextA; the platform's result.
int SkinDrawText(HDC dc, const std::wstring& text, RECT& r, UINT format);
