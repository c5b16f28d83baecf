// The skin data component: the "SkinPack" filer, loading, Loaded, the window check, skin
// files; and the skin store's names.
#include <gtest/gtest.h>

#include "platform/forms/FormReader.h"
#include "platform/forms/Properties.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "skin/SkinData.h"
#include "skin/SkinStore.h"
#include "tests/skin/SkinFixtures.h"
#include "tests/support/TestSupport.h"

using testing_support::ScriptedDialogs;
using testing_support::TempDir;

namespace {
std::string Property(const std::string& packed) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back((char)(packed.size() >> (8 * i)));
  return s + packed;
}
}  // namespace

TEST(SkinData, ConstructionValues) {
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_FALSE(d.Has(skMenuItem));
  EXPECT_FALSE(d.Has(skReportForms));
  EXPECT_TRUE(d.Has(skMainMenu) && d.Has(skSystemMenu) && d.Has(skTab));
  EXPECT_EQ(d.SkinClassMap().Values("TComboboxex"), "Combobox");
  EXPECT_EQ(d.SkinClassMap().Values("TControlBar"), "panel");
  EXPECT_EQ(d.SkinFormtype(), TSkinFormType::sfMainform);
  EXPECT_TRUE(d.MenuUpdate());
  EXPECT_FALSE(d.MenuMerge());
  EXPECT_TRUE(d.NoSkin());
  EXPECT_EQ(d.SkinStore(), "(none)");
  d.SetVersion("9.9");
  EXPECT_EQ(d.Version(), "1.00.00.01");
  EXPECT_TRUE(d.IconFlag());
  EXPECT_EQ(d.Model().Left->Name, "Left");
}

TEST(SkinData, SkinPackPropertyLoadsTheBuiltInSkinAndWritesItBack) {
  const std::string packed = skintest::BuildSkin("builtin.skin");
  TSkinData d(nullptr);
  ASSERT_TRUE(d.ReadSkinPack(Property(packed)));
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.Model().SkinName, "Karvell Flat");
  EXPECT_NE(d.Model().Scrollbar, nullptr);
  EXPECT_NE(d.ButtonFaceBrush(), nullptr);
  EXPECT_EQ(d.WriteSkinPack(), Property(packed));
}

TEST(SkinData, BadSkinPackKeepsTheSkinHeldSoFar) {
  ScriptedDialogs dialogs;
  seams::ScopedSeam<seams::IDialogs> seam(&dialogs);
  TSkinData d(nullptr);
  ASSERT_TRUE(d.ReadSkinPack(Property(skintest::BuildSkin("coded.skin"))));
  const std::string before = d.WriteSkinPack();

  EXPECT_FALSE(d.ReadSkinPack(std::string("\x10\0\0\0abc", 7)));  // count beyond the bytes
  EXPECT_EQ(d.WriteSkinPack(), before);
  EXPECT_FALSE(d.NoSkin());

  std::string oldFormat = skintest::Pack("[x]");
  EXPECT_FALSE(d.ReadSkinPack(Property(std::string(4, '\xFF') + oldFormat.substr(4))));
  EXPECT_TRUE(d.NoSkin());
  EXPECT_EQ(d.Model().SkinName, "Coded") << "the model keeps what it held";
  EXPECT_EQ(dialogs.calls.size(), 1u);
}

TEST(SkinData, LoadedWithoutASkinSwitchesActiveOffAndAdjustsKinds) {
  TSkinData empty(nullptr);
  empty.SetLoading(true);
  EXPECT_TRUE(empty.ReadSkinPack(std::string(4, '\0')));  // count 0: nothing to load
  empty.SetActive(true);
  empty.SetSkinControls(kAllSkinControls);
  empty.Loaded();
  EXPECT_FALSE(empty.Active());
  EXPECT_FALSE(empty.Loading());
  EXPECT_FALSE(empty.Has(skMenuItem));  // the main menu is skinned, so its items are not
  EXPECT_TRUE(empty.Has(skSystemMenu));

  TSkinData skinned(nullptr);
  skinned.SetLoading(true);
  ASSERT_TRUE(skinned.ReadSkinPack(Property(skintest::BuildSkin("builtin.skin"))));
  skinned.SetActive(true);
  skinned.SetSkinControls(kAllSkinControls & ~SkinSet(skMainMenu));
  skinned.Loaded();
  EXPECT_TRUE(skinned.Active());
  EXPECT_TRUE(skinned.Has(skMenuItem));
  EXPECT_FALSE(skinned.Has(skSystemMenu));
}

TEST(SkinData, WhichWindowsMayBeSkinned) {
  TSkinData d(nullptr);
  struct Case {
    const char* cls;
    bool reportForms, want;
  } cases[] = {{"SysMonthCal32", false, false}, {"TrpPreview", true, false}, {"TrpPreview", false, true},
               {"TMainFrm", true, true},        {"#32770", false, true}};
  for (const Case& c : cases) {
    d.SetSkinControls(c.reportForms ? kAllSkinControls : kAllSkinControls & ~SkinSet(skReportForms));
    bool doSkin = false;
    d.FormSkinQuery(c.cls, doSkin);
    EXPECT_EQ(doSkin, c.want) << c.cls;
  }
  std::string asked;
  d.OnFormSkin = TOnFormSkin([&](TObject* sender, const std::string& name, bool& doSkin) {
    EXPECT_EQ(sender, &d);
    asked = name;
    doSkin = name == "SysMonthCal32";
  });
  bool doSkin = false;
  d.FormSkinQuery("SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
  d.FormSkinQuery("TMainFrm", doSkin);
  EXPECT_FALSE(doSkin);
  EXPECT_EQ(asked, "TMainFrm");
}

TEST(SkinData, SkinFileLoadsWhenItExists) {
  TempDir dir;
  const std::string path = dir.File("coded.skin");
  sys::WriteFileBytes(path, skintest::BuildSkin("coded.skin"));
  TSkinData d(nullptr);
  d.SetSkinFile(path);
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.Model().SkinName, "Coded");
  d.SetSkinFile(dir.File("missing.skin"));
  EXPECT_EQ(d.SkinFile(), dir.File("missing.skin"));
  EXPECT_TRUE(d.NoSkin());
}

TEST(SkinData, TextHelpers) {
  std::wstring wide;
  SkinAnsiToWide("系统ab", wide);
  EXPECT_EQ(wide, L"\u7CFB\u7EDFab");
  std::string ansi;
  SkinWideToAnsi(wide, ansi);
  EXPECT_EQ(ansi, "系统ab");
  std::wstring part;
  SkinCopyWide(wide, 1, part);
  EXPECT_EQ(part, L"\u7CFB");
  SkinCopyWide(wide, -1, part);
  EXPECT_EQ(part, wide);
  TBitmap b(80, 20);
  RECT r{0, 0, 80, 20};
  EXPECT_GT(SkinDrawText(b.Canvas().Handle(), L"ab", r, DT_SINGLELINE | DT_CALCRECT), 0);
}

TEST(SkinStore, ItemNamesAreUnique) {
  TSkinStore store(nullptr);
  TSkinCollection& c = store.Store();
  for (int i = 0; i < 3; ++i) c.Add();
  c.Delete(0);
  TSkinCollectionItem& third = c.Add();
  EXPECT_EQ(third.Name(), "SkinItem3");
  TSkinCollectionItem& first = c.Items(0);
  try {
    first.SetName("SkinItem3");
    ADD_FAILURE() << "a used name was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The name SkinItem3 is already used.");
  }
  EXPECT_EQ(first.Name(), "SkinItem1");
  third.SetName("SkinItem3");  // its own name again: nothing happens
  third.ReadDataStream("packed");
  EXPECT_EQ(third.DataSize(), 6);
  EXPECT_EQ(third.SkinData(), "Load Skin");

  TSkinStore other(nullptr);
  other.SetStore(&c);
  ASSERT_EQ(other.Store().Count(), 3);
  EXPECT_EQ(other.Store().Items(2).Name(), "SkinItem3");
  EXPECT_EQ(other.Store().Items(2).DataStream(), "packed");
}

TEST(SkinStore, AFormDescriptionCarriesNamedSkins) {
  RegisterSkinData();
  TComponent root(nullptr);
  ReadComponentDescription(&root,
                           "object Root: TComponent\r\n"
                           "  object SkinStore1: TSkinStore\r\n"
                           "    Store = <\r\n"
                           "      item\r\n"
                           "        Name = 'Blue'\r\n"
                           "        DataStream = {0102FF}\r\n"
                           "      end\r\n"
                           "      item\r\n"
                           "        DataStream = {}\r\n"
                           "      end>\r\n"
                           "  end\r\n"
                           "end\r\n",
                           {});
  auto* store = dynamic_cast<TSkinStore*>(root.FindComponent("SkinStore1"));
  ASSERT_NE(store, nullptr);
  ASSERT_EQ(store->Store().Count(), 2);
  EXPECT_EQ(store->Store().Items(0).Name(), "Blue");
  EXPECT_EQ(store->Store().Items(0).DataStream(), std::string("\x01\x02\xFF", 3));
  EXPECT_EQ(store->Store().Items(1).Name(), "SkinItem1");
  EXPECT_EQ(GetOrdProp(&store->Store().Items(0), "DataSize"), 3);
  // A name used twice is refused with the store's message, naming the line.
  TComponent twice(nullptr);
  try {
    ReadComponentDescription(&twice,
                             "object Root: TComponent\r\n  object S: TSkinStore\r\n    Store = <\r\n"
                             "      item Name = 'A' end\r\n      item Name = 'A' end>\r\n  end\r\nend\r\n",
                             {});
    ADD_FAILURE() << "a used name was accepted";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("The name A is already used."), std::string::npos) << e.Message();
  }
}

TEST(SkinData, FormDescriptionCarriesTheComponentAndItsSkin) {
  RegisterSkinData();
  auto hex = [](const std::string& bytes) {
    std::string s;
    for (size_t i = 0; i < bytes.size(); ++i) s += sys::IntToHex((unsigned char)bytes[i], 2) + (i % 32 == 31 ? "\r\n" : "");
    return s;
  };
  auto describe = [&](const std::string& pack) {
    return "object Root: TComponent\r\n"
           "  object SkinData1: TSkinData\r\n"
           "    Active = True\r\n"
           "    DisableTag = 99\r\n"
           "    SkinControls = [skMainMenu, skPopupMenu, skMenuItem, skToolbar, skControlbar, skCombo, skCheckBox,"
           " skRadioButton, skProgress, skScrollbar, skEdit, skButton, skBitBtn, skSpeedButton, skPanel, skGroupBox,"
           " skStatusBar, skTab, skSystemMenu, skReportForms]\r\n"
           "    SkinFormtype = sfMainform\r\n"
           "    Version = '9.9'\r\n"
           "    MenuUpdate = True\r\n"
           "    MenuMerge = False\r\n"
           "    SkinPack = {\r\n" + hex(pack) + "}\r\n"
           "  end\r\n"
           "end\r\n";
  };
  TComponent root(nullptr);
  ReadComponentDescription(&root, describe(Property(skintest::BuildSkin("coded.skin"))), {});
  auto* d = dynamic_cast<TSkinData*>(root.FindComponent("SkinData1"));
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->Loading());
  EXPECT_FALSE(d->NoSkin());
  EXPECT_EQ(d->Model().SkinName, "Coded");
  EXPECT_TRUE(d->Active());
  EXPECT_FALSE(d->Has(skMenuItem));  // removed by Loaded, since the main menu is skinned
  EXPECT_TRUE(d->Has(skReportForms));
  EXPECT_EQ(GetStrProp(d, "Version"), "1.00.00.01");
  EXPECT_EQ(GetEnumProp(d, "SkinFormtype"), "sfmainform");

  TComponent empty(nullptr);
  ReadComponentDescription(&empty, describe(std::string(4, '\0')), {});
  auto* e = dynamic_cast<TSkinData*>(empty.FindComponent("SkinData1"));
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->NoSkin());
  EXPECT_FALSE(e->Active());  // no skin: Loaded switches it off
}
