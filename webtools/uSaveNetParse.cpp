// The saved-addresses window; see uSaveNetParse.h.
#include "webtools/uSaveNetParse.h"

#include <windows.h>

#include <algorithm>

#include "core/uHelpers.h"
#include "core/uSettings.h"
#include "platform/rtl/Base64.h"
#include "platform/rtl/Seams.h"
#include "platform/rtl/SysUtils.h"
#include "webtools/SeoInfo.h"

bool SortAscending = false;
TSaveNetFrm* SaveNetFrm = nullptr;

// What differs between the three kinds: their edits, the messages of their checks and of a
// successful save. An edit or check the kind lacks is null.
struct TSaveNetFrm::Kind {
  TEdit* TSaveNetFrm::*name;
  TEdit* TSaveNetFrm::*address;
  TEdit* TSaveNetFrm::*user;
  TEdit* TSaveNetFrm::*pass;
  TEdit* TSaveNetFrm::*confirm;
  TEdit* TSaveNetFrm::*port;
  TListView* TSaveNetFrm::*list;
  const char* mismatch;  // the password and its confirmation differ
  const char* noName;
  const char* noAddress;
  const char* noUser;
  const char* noPass;  // checked when adding only
  const char* added;
  const char* changed;
};

namespace {

using F = TSaveNetFrm;
const char* const kDuplicate = "此条记录已经存在，请重新输入";
const char* const kAddFailed = "新增记录出错，请重试";
const char* const kChangeFailed = "修改记录出错，请重试";
const char* const kAdd = "新增";
const char* const kChange = "修改";

std::string EditText(TEdit* e) { return e ? e->Text() : std::string(); }
void Empty(TEdit* e) {
  if (e) e->SetText("");
}
int IdOf(const TListItem* item) { return (int)(intptr_t)item->Data; }

// Code by code, ASCII letters without regard to case.
int CompareText(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int x = (unsigned char)a[i], y = (unsigned char)b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x - y;
  }
  return (int)a.size() - (int)b.size();
}

// The system's locale-aware comparison, as a sorted list view uses it.
bool LocaleLess(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), (int)a.size(), b.data(), (int)b.size()) == CSTR_LESS_THAN;
}

}  // namespace

TSaveNetFrm::TSaveNetFrm(TComponent* owner) : TForm(owner) {
  RegisterWebTools();
  if (!SaveNetFrm) SaveNetFrm = this;
}

TSaveNetFrm::~TSaveNetFrm() {
  if (SaveNetFrm == this) SaveNetFrm = nullptr;
}

TPublishedTable TSaveNetFrm::Published() {
  return {KARV_FIELDS(F, PageControl1, TabSheet1, GroupBox1, Label1, yNetSiteName, Label2, yNetAddress),
          KARV_FIELDS(F, btnTransNet, Label3, Label4, yUserName, Label5, yUserPass, Label6),
          KARV_FIELDS(F, yOkPass, GroupBox2, yListNetBackUrl, TabSheet2, GroupBox3, Label7, yNetName),
          KARV_FIELDS(F, Label8, yNetUrl, btnNetUrl, Label9, GroupBox4, yListViewNetUrl, TabSheet3),
          KARV_FIELDS(F, GroupBox5, Label10, yFtpName, Label11, yFtpAddress, Label12, yFtpPort),
          KARV_FIELDS(F, Label13, yFtpUserName, Label14, yFtpPassword, Label15, yOkFtpPass, GroupBox6),
          KARV_FIELDS(F, yListViewFtp, Panel1, Label16, Label17, btnNewAdd, btnDelete, btnCancel),
          KARV_HANDLERS(F, FormShow, btnNewAddClick),
          KARV_HANDLERS(F, btnDeleteClick, btnCancelClick, PageControl1Change),
          KARV_HANDLERS(F, btnTransNetClick, btnNetUrlClick, yListNetBackUrlClick),
          KARV_HANDLERS(F, yListViewNetUrlClick, yListViewFtpClick),
          KARV_HANDLERS(F, yUserPassKeyDown, yNetUrlKeyDown, yFtpPasswordKeyDown),
          KARV_HANDLERS(F, yListNetBackUrlColumnClick, yListViewNetUrlColumnClick, yListViewFtpColumnClick)};
}

const TSaveNetFrm::Kind& TSaveNetFrm::KindOf(int urlType) const {
  static const Kind kKinds[3] = {
      {&F::yNetSiteName, &F::yNetAddress, &F::yUserName, &F::yUserPass, &F::yOkPass, nullptr, &F::yListNetBackUrl,
       "后台密码不一致，请重新输入", "网站名称不能为空", "网站后台地址不能为空", "网站后台用户名不能为空",
       "网站后台密码不能为空", "新增记录成功", "修改记录成功"},
      {&F::yNetName, &F::yNetUrl, nullptr, nullptr, nullptr, nullptr, &F::yListViewNetUrl, nullptr,
       "网站名称不能为空", "网站地址不能为空", nullptr, nullptr, "保存成功", "修改保存成功"},
      {&F::yFtpName, &F::yFtpAddress, &F::yFtpUserName, &F::yFtpPassword, &F::yOkFtpPass, &F::yFtpPort,
       &F::yListViewFtp, "Ftp密码不一致，请重新输入", "Ftp名称不能为空", "Ftp地址不能为空", "Ftp用户名不能为空",
       "Ftp密码不能为空", "保存成功", "修改成功"},
  };
  return kKinds[std::clamp(urlType, 0, 2)];
}

TListView* TSaveNetFrm::ListOf(int urlType) const { return this->*KindOf(urlType).list; }

bool TSaveNetFrm::Confirm(const std::string& question) {
  return seams::Dialogs().Ask(Handle(), question, "系统提示", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// ---------------------------------------------------------------- lists

void TSaveNetFrm::FormShow(TObject*) {
  for (int kind = 0; kind < 3; ++kind) FillList(kind);
}

void TSaveNetFrm::FillList(int urlType) {
  rows_.clear();
  if (Data) Data->ReadNetBackUrls(LoginData.Username, sys::IntToStr(urlType), rows_);
  // The back-end list keeps its rows sorted by site name, the way the system sorts text.
  if (urlType == 0)
    std::stable_sort(rows_.begin(), rows_.end(),
                     [](const TNetBackUrl& a, const TNetBackUrl& b) { return LocaleLess(a.NetSiteName, b.NetSiteName); });
  TListView* list = ListOf(urlType);
  list->BeginUpdate();
  list->Clear();
  for (const TNetBackUrl& row : rows_) {
    TListItem* item = list->Add();
    item->SetCaption(row.NetSiteName);
    item->AddSubItem(row.NetSiteAddress);
    if (urlType != 1) {
      item->AddSubItem(row.UserName);
      item->AddSubItem(row.UserPass);
    }
    item->AddSubItem(row.PostDate);
    if (urlType == 2) item->AddSubItem(row.Port);
    item->Data = (void*)(intptr_t)row.Id;
  }
  list->EndUpdate();
}

void TSaveNetFrm::TakeFromList(int urlType) {
  TListItem* item = ListOf(urlType)->Selected();
  if (!item) return;
  const Kind& k = KindOf(urlType);
  (this->*k.name)->SetText(item->Caption());
  (this->*k.address)->SetText(item->SubItem(0));
  if (k.user) (this->*k.user)->SetText(item->SubItem(1));
  if (k.pass) (this->*k.pass)->SetText(item->SubItem(2));
  if (k.confirm) (this->*k.confirm)->SetText(item->SubItem(2));
  if (k.port) (this->*k.port)->SetText(item->SubItem(4));
  btnNewAdd->SetCaption(kChange);
  currentId_ = IdOf(item);
}

void TSaveNetFrm::yListNetBackUrlClick(TObject*) { TakeFromList(0); }
void TSaveNetFrm::yListViewNetUrlClick(TObject*) { TakeFromList(1); }
void TSaveNetFrm::yListViewFtpClick(TObject*) { TakeFromList(2); }

void TSaveNetFrm::SortList(TListView* list, int column) {
  struct Row {
    std::string caption;
    std::vector<std::string> subItems;
    void* data;
  };
  std::vector<Row> rows;
  for (int i = 0; i < list->Count(); ++i) {
    TListItem* it = list->Items(i);
    Row r{it->Caption(), {}, it->Data};
    for (int s = 0; s < it->SubItemCount(); ++s) r.subItems.push_back(it->SubItem(s));
    rows.push_back(std::move(r));
  }
  auto key = [column](const Row& r) {
    return column == 0 ? r.caption : (column - 1 < (int)r.subItems.size() ? r.subItems[column - 1] : std::string());
  };
  bool ascending = SortAscending;
  std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
    int c = CompareText(key(a), key(b));
    return ascending ? c < 0 : c > 0;
  });
  list->BeginUpdate();
  list->Clear();
  for (const Row& r : rows) {
    TListItem* it = list->Add();
    it->SetCaption(r.caption);
    for (const auto& s : r.subItems) it->AddSubItem(s);
    it->Data = r.data;
  }
  list->EndUpdate();
  SortAscending = !SortAscending;
}

void TSaveNetFrm::yListNetBackUrlColumnClick(TObject*, int Column) { SortList(yListNetBackUrl, Column); }
void TSaveNetFrm::yListViewNetUrlColumnClick(TObject*, int Column) { SortList(yListViewNetUrl, Column); }
void TSaveNetFrm::yListViewFtpColumnClick(TObject*, int Column) { SortList(yListViewFtp, Column); }

// ---------------------------------------------------------------- add, change, delete, clear

void TSaveNetFrm::FillCurrent(int urlType) {
  const Kind& k = KindOf(urlType);
  TNetBackUrl& u = CurrentNetBackUrl;
  u = TNetBackUrl{};
  u.EnterpriseId = LoginData.Username;
  u.Id = currentId_;
  u.NetSiteName = EditText(this->*k.name);
  u.NetSiteAddress = EditText(this->*k.address);
  if (k.user) u.UserName = EditText(this->*k.user);
  if (k.pass) u.UserPass = base64::Encode(EditText(this->*k.pass));
  if (k.port) u.Port = EditText(this->*k.port);
  u.NetUrlType = sys::IntToStr(urlType);
}

void TSaveNetFrm::AddOrChange(int urlType) {
  const Kind& k = KindOf(urlType);
  bool adding = btnNewAdd->Caption() == kAdd;
  if (k.mismatch && EditText(this->*k.pass) != EditText(this->*k.confirm)) return ShowMsg("", k.mismatch);
  struct Check {
    TEdit* edit;
    const char* message;
  } checks[] = {{this->*k.name, k.noName},
                {this->*k.address, k.noAddress},
                {k.user ? this->*k.user : nullptr, k.noUser},
                {adding && k.pass ? this->*k.pass : nullptr, k.noPass}};
  for (const Check& c : checks)
    if (c.edit && c.message && EditText(c.edit).empty()) return ShowMsg("", c.message);
  if (!Confirm(adding ? "是否新增记录?" : "是否修改记录?")) return;
  FillCurrent(urlType);
  int result = Data ? Data->SaveNetBackUrl(adding ? 0 : 1, urlType) : 2;
  if (result == 0) ShowMsg("", adding ? k.added : k.changed);
  else if (result == 1 && adding) ShowMsg("", kDuplicate);
  else ShowMsg("", adding ? kAddFailed : kChangeFailed);
  FillList(urlType);
  // A duplicate or a failure keeps what the user typed, to be mended and saved again.
  if (result != 0) return;
  ClearEdits(urlType, false, true);
  btnNewAdd->SetCaption(kAdd);
  (this->*k.name)->SetFocus();
}

void TSaveNetFrm::btnNewAddClick(TObject*) { AddOrChange(PageControl1->ActivePageIndex()); }

void TSaveNetFrm::yUserPassKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Key = 0;
  btnNewAddClick(this);
}
void TSaveNetFrm::yNetUrlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) { yUserPassKeyDown(Sender, Key, Shift); }
void TSaveNetFrm::yFtpPasswordKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  yUserPassKeyDown(Sender, Key, Shift);
}

void TSaveNetFrm::ClearEdits(int urlType, bool withConfirmation, bool withPort) {
  const Kind& k = KindOf(urlType);
  for (TEdit* TSaveNetFrm::*e : {k.name, k.address, k.user, k.pass})
    if (e) Empty(this->*e);
  if (withConfirmation && k.confirm) Empty(this->*k.confirm);
  if (withPort && k.port) Empty(this->*k.port);
}

void TSaveNetFrm::btnDeleteClick(TObject*) {
  int kind = PageControl1->ActivePageIndex();
  if (!Confirm("是否删除此记录?")) return;
  TListItem* item = ListOf(kind)->Selected();
  if (!item) return;
  currentId_ = IdOf(item);
  CurrentNetBackUrl = TNetBackUrl{};
  CurrentNetBackUrl.EnterpriseId = LoginData.Username;
  CurrentNetBackUrl.Id = currentId_;
  if (Data) Data->SaveNetBackUrl(2, kind);
  FillList(kind);
  ClearEdits(kind, false, false);
  // The row taken for a change may be the one just deleted: the next save adds.
  btnNewAdd->SetCaption(kAdd);
}

void TSaveNetFrm::btnCancelClick(TObject*) {
  ClearEdits(PageControl1->ActivePageIndex(), true, true);
  if (btnNewAdd->Caption() == kChange) btnNewAdd->SetCaption(kAdd);
}

void TSaveNetFrm::PageControl1Change(TObject*) {
  ClearEdits(PageControl1->ActivePageIndex(), true, false);
  btnNewAdd->SetCaption(kAdd);
}

// ---------------------------------------------------------------- opening an address

void TSaveNetFrm::OpenAddress(const std::string& address) {
  if (sys::Trim(address).empty()) return ShowMsg("", "网址不能为空");
  // Always a web address: a text without a scheme gets "http://", and it goes to the
  // shell as the document to open, never into a command line.
  seams::Shell().Open(WithScheme(address), "");
}

void TSaveNetFrm::btnTransNetClick(TObject*) { OpenAddress(yNetAddress->Text()); }
void TSaveNetFrm::btnNetUrlClick(TObject*) { OpenAddress(yNetUrl->Text()); }
